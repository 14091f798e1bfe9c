#include "cli/raw_command.h"

#include <cstdio>
#include <cstdlib>

namespace vantor {

namespace {
bool parseNumber(const std::string& word, int base, long max, long& out) {
  if (word.empty()) return false;
  char* end = nullptr;
  out = std::strtol(word.c_str(), &end, base);
  return *end == '\0' && out >= 0 && out <= max;
}
}  // namespace

std::optional<RawCommand> RawCommand::parse(const std::vector<std::string>& words,
                                            std::string& error) {
  RawCommand raw;
  long value = 0;
  if (words.empty() || !parseNumber(words[0], 10, 255, value)) {
    error = "raw needs a command code from 0 to 255";
    return std::nullopt;
  }
  raw.code_ = static_cast<int>(value);
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i].size() > 2 || !parseNumber(words[i], 16, 255, value)) {
      error = "raw parameter '" + words[i] + "' is not a hex byte";
      return std::nullopt;
    }
    raw.params_.push_back(static_cast<uint8_t>(value));
  }
  return raw;
}

void RawCommand::connected(CtlSession& session) {
  CommandChannel& channel = session.device().channel;
  channel.requestOverride = [this](int code, RequestWriter& out) {
    if (sent_ || code != code_) return false;
    out.putBytes(params_);
    sent_ = true;
    return true;
  };
  channel.queueCmd(code_);
}

void RawCommand::replied(CtlSession& session, int code, ByteView frame) {
  if (!sent_ || code != code_) return;
  std::printf("%s\n", hexSpaced(frame).c_str());
  std::fflush(stdout);
  session.device().channel.requestOverride = nullptr;
  session.finish(kExitOk);
}

}  // namespace vantor
