#include "line_injection.h"

#include "diagnosis_memory.h"

namespace rwsim {

std::optional<InjectedBarcode> parseInjectedBarcode(const Bytes& params) {
  if (params.size() < 2 || params.back() != kEtx) return std::nullopt;
  std::size_t start = 0;
  InjectedBarcode code;
  if (params[0] == kStx) {
    start = 1;  // one reader
  } else if (params.size() >= 3 && params[0] <= 1 && params[1] == kStx) {
    code.reader = params[0];
    start = 2;
  } else {
    return std::nullopt;
  }
  code.text.assign(params.begin() + static_cast<std::ptrdiff_t>(start), params.end() - 1);
  return code;
}

void SimLineInjection::install(SimDevice& device) {
  device.setHandler(kCmdInjectWeight, [this](const Frame& r) { return injectWeight(r); });
  device.setHandler(kCmdInjectBarcode, [this](const Frame& r) { return injectBarcode(r); });
}

Answer SimLineInjection::injectWeight(const Frame& request) {
  if (request.params.size() != 2) return Answer{kNak, {}};
  const auto grams = static_cast<std::int32_t>(request.params[0] | request.params[1] << 8);
  trace_.injectWeight(device_.uptimeMs(), grams);
  return Answer{};
}

Answer SimLineInjection::injectBarcode(const Frame& request) {
  const std::optional<InjectedBarcode> code = parseInjectedBarcode(request.params);
  if (!code) return Answer{kNak, {}};
  memory_.storeBarcode(code->text);
  barcodeFlags_ |= static_cast<std::uint8_t>(1u << code->reader);
  return Answer{};
}

std::uint8_t SimLineInjection::takeBarcodeFlags() {
  const std::uint8_t flags = barcodeFlags_;
  barcodeFlags_ = 0;
  return flags;
}

}  // namespace rwsim
