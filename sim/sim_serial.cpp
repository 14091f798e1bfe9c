#include "sim_serial.h"

#include <cctype>

#include "sim_device.h"

namespace rwsim {

namespace {
constexpr std::size_t kMaxLine = 64;  // a longer line is dropped whole
}

std::string SimQx3Module::receive(std::uint8_t byte) {
  if (byte == '\r') {
    const std::string line = line_;
    line_.clear();
    return line.size() > kMaxLine ? "ERR" : answer(line);
  }
  if (byte != '\n' && line_.size() <= kMaxLine) line_.push_back(static_cast<char>(byte));
  return {};
}

std::string SimQx3Module::answer(const std::string& line) {
  std::string result;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t end = line.find(';', start);
    const std::string part = line.substr(start, end == std::string::npos ? end : end - start);
    const std::string one = commandAnswer(part);
    if (one == "ERR") return one;
    result = one;  // joined commands: the last one's answer
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return result;
}

std::string SimQx3Module::commandAnswer(const std::string& command) {
  if (command == "VER?") return kVersion;
  if (command == "SNB?") return kSerial;
  if (command == "UCW?") return weight_;
  if (command == "IZA" || command == "IFA" || command == "NRP1") return "OK";
  if (command.rfind("UCW", 0) == 0 && command.size() > 3 && command.size() <= 10) {
    for (std::size_t i = 3; i < command.size(); ++i)
      if (!std::isdigit(static_cast<unsigned char>(command[i]))) return "ERR";
    weight_ = command.substr(3);
    return "OK";
  }
  return "ERR";
}

void SimSerialPorts::install(SimDevice& device) {
  device.setHandler(kCmdSerialSend, [this](const Frame& r) {
    // At least the port and the end character.
    if (r.params.size() < 2 || !send(r.params[0], Bytes(r.params.begin() + 1, r.params.end())))
      return Answer{kNak, {}};
    return Answer{kAck, {}};
  });
  device.setHandler(kCmdSerialRead, [this](const Frame& r) {
    if (r.params.size() != 1 || r.params[0] >= kSerialPorts) return Answer{kNak, {}};
    return Answer{kAck, takeBuffer(r.params[0])};
  });
}

bool SimSerialPorts::send(std::uint8_t port, const Bytes& bytes) {
  if (port >= kSerialPorts) return false;
  sent_[port].assign(bytes.begin(), bytes.end());
  if (port == kLoopbackPort) {
    deliver(port, sent_[port]);
  } else if (port == kModulePort) {
    for (std::uint8_t b : bytes) {
      const std::string reply = module_.receive(b);
      if (!reply.empty()) deliver(port, reply);
    }
  }
  return true;
}

// What arrives on a port is kept up to the buffer's size; more is lost.
void SimSerialPorts::deliver(std::uint8_t port, const std::string& text) {
  Bytes& buffer = rx_[port];
  for (char c : text)
    if (buffer.size() < kSerialBuffer) buffer.push_back(static_cast<std::uint8_t>(c));
}

Bytes SimSerialPorts::takeBuffer(std::uint8_t port) {
  Bytes out = rx_.at(port);
  out.resize(kSerialBuffer, 0);
  rx_.at(port).clear();
  return out;
}

}  // namespace rwsim
