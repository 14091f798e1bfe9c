#include "control_line.h"

#include <charconv>

namespace rwsim {

namespace {

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n";
  const auto first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(kBlank);
  return text.substr(first, last - first + 1);
}

}  // namespace

ControlResult applyControlLine(FaultSet& faults, std::string_view line) {
  const std::string_view command = trimmed(line);
  if (command.empty()) {
    return {};
  }
  if (command == "clear") {
    faults.clear();
    return {true, "faults: none"};
  }
  constexpr std::string_view kFault = "fault ";
  if (command.starts_with(kFault)) {
    if (const auto error = faults.add(trimmed(command.substr(kFault.size())))) {
      return {false, "error: " + *error};
    }
    return {true, "faults: " + faults.describe()};
  }
  constexpr std::string_view kSend = "integrator send ";
  if (command.starts_with(kSend)) {
    const std::string_view digits = trimmed(command.substr(kSend.size()));
    int code = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || code < 0 ||
        code > 499) {
      return {false, "error: integrator send needs a request code from 0 to 499"};
    }
    ControlResult result{false, "integrator: sending request " + std::string(digits)};
    result.integratorSend = code;
    return result;
  }
  return {false, "error: unknown command '" + std::string(command) +
                     "' (expected 'fault MODE', 'clear' or 'integrator send CODE')"};
}

}  // namespace rwsim
