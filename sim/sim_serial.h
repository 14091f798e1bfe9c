#pragma once

// The simulated device's four serial ports. Command 2 (port, text, end
// character) delivers the text and its end character to the port; command 1
// (port) answers the port's receive buffer, 256 bytes zero-padded, and empties
// it. A QX3 weighing module sits on port 2 and answers each line that ends in
// a carriage return; port 3 has a loopback plug that echoes what is sent;
// nothing answers on ports 0 and 1.
//
// The module's commands: "VER?" its firmware text, "SNB?" its serial number,
// "UCW?" the calibration weight and "UCW<n>" stores it, "IZA", "IFA", "NRP1"
// (also joined by ";", as in "IFA;NRP1") answer "OK", anything else "ERR".

#include <array>
#include <cstdint>
#include <string>

#include "frame_codec.h"

namespace rwsim {

class SimDevice;

inline constexpr std::uint8_t kCmdSerialRead = 1;
inline constexpr std::uint8_t kCmdSerialSend = 2;
inline constexpr std::size_t kSerialPorts = 4;
inline constexpr std::size_t kSerialBuffer = 256;
inline constexpr std::uint8_t kModulePort = 2;
inline constexpr std::uint8_t kLoopbackPort = 3;

class SimQx3Module {
 public:
  static constexpr const char* kVersion = "QX3 SIM V1.07";
  static constexpr const char* kSerial = "40071234";

  // Bytes arriving at the module; returns its answer once a line is complete.
  std::string receive(std::uint8_t byte);
  std::string answer(const std::string& line);
  const std::string& calibrationWeight() const { return weight_; }

 private:
  std::string commandAnswer(const std::string& command);

  std::string line_;
  std::string weight_ = "1000";
};

class SimSerialPorts {
 public:
  void install(SimDevice& device);

  // What command 2 and command 1 do; nothing on a port that does not exist.
  bool send(std::uint8_t port, const Bytes& bytes);
  Bytes takeBuffer(std::uint8_t port);
  const std::string& lastSent(std::uint8_t port) const { return sent_.at(port); }
  SimQx3Module& module() { return module_; }

 private:
  void deliver(std::uint8_t port, const std::string& text);

  std::array<Bytes, kSerialPorts> rx_;
  std::array<std::string, kSerialPorts> sent_;
  SimQx3Module module_;
};

}  // namespace rwsim
