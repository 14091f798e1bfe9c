#include "boot_loader.h"

namespace rwsim {

namespace {

int nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Writing takes a base time and a time in proportion to what was received.
std::int64_t writeTimeMs(std::uint64_t chars) {
  return 200 + static_cast<std::int64_t>(chars / 128);
}

}  // namespace

bool intelHexChecksumOk(std::string_view line) {
  if (line.size() < 11 || line[0] != ':' || (line.size() - 1) % 2 != 0) {
    return false;
  }
  unsigned sum = 0;
  for (std::size_t i = 1; i < line.size(); i += 2) {
    const int high = nibble(line[i]);
    const int low = nibble(line[i + 1]);
    if (high < 0 || low < 0) {
      return false;
    }
    sum += static_cast<unsigned>(high * 16 + low);
  }
  const std::size_t count = static_cast<std::size_t>(nibble(line[1]) * 16 + nibble(line[2]));
  return (sum & 0xFF) == 0 && count == (line.size() - 11) / 2;
}

void BootLoader::start(BootMode mode) {
  mode_ = mode;
  receiving_ = false;
  lines_ = 0;
  badLines_ = 0;
  chars_ = 0;
  dropped_ = false;
  write_ = Write::Idle;
}

std::string BootLoader::status(std::int64_t nowMs) {
  switch (write_) {
    case Write::Idle:
      return "0";
    case Write::Started:
      write_ = Write::Writing;
      return "1";
    case Write::Writing:
      if (nowMs < writeDoneAtMs_) {
        return "2";
      }
      write_ = Write::Done;
      if (writeOk_) {
        ++imagesWritten_;
      }
      [[fallthrough]];
    case Write::Done:
      return writeOk_ ? "4" : "3";
  }
  return "0";
}

BootAnswer BootLoader::handle(std::string_view request, std::int64_t nowMs,
                              const FaultSet& faults) {
  using Effect = BootAnswer::Effect;
  if (mode_ == BootMode::Application) {
    if (request == "F") {
      return {std::string("0") + kApplicationVersion, Effect::None};
    }
    if (request == "B") {
      return {"0", Effect::RestartIntoBoot};
    }
    return {"1", Effect::None};
  }
  if (request == "F") {
    return {std::string("0") + kBootVersion, Effect::None};
  }
  if (request == "B") {
    return {"0", Effect::None};  // already in the boot loader
  }
  if (request == "U0") {
    receiving_ = true;
    lines_ = 0;
    badLines_ = 0;
    chars_ = 0;
    write_ = Write::Idle;
    return {"0", Effect::None};
  }
  if (request == "W") {
    if (!receiving_) {
      return {"1", Effect::None};
    }
    receiving_ = false;
    write_ = Write::Started;
    writeOk_ = badLines_ == 0 && lines_ > 0;
    writeDoneAtMs_ = nowMs + writeTimeMs(chars_);
    return {"0", Effect::None};
  }
  if (request == "S") {
    return {"0" + status(nowMs), Effect::None};
  }
  if (request == "R") {
    return {std::nullopt, Effect::RestartIntoApplication};
  }
  if (!request.empty() && request[0] == ':' && receiving_) {
    ++lines_;
    chars_ += request.size();
    if (faults.has(FaultMode::BootDrop) && !dropped_ && lines_ == kDropLine) {
      dropped_ = true;
      receiving_ = false;
      return {std::nullopt, Effect::DropConnection};
    }
    const bool nak = faults.has(FaultMode::BootNak) && lines_ == kNakLine;
    if (nak || !intelHexChecksumOk(request)) {
      ++badLines_;
      return {"1", Effect::None};
    }
    return {"0", Effect::None};
  }
  return {"1", Effect::None};
}

}  // namespace rwsim
