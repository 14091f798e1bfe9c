#pragma once

// The simulated RW4000 itself: a request frame goes in, the reply frame comes
// out. No sockets and no timers here, so the device can be driven directly.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "frame_codec.h"
#include "weight_trace.h"

namespace rwsim {

inline constexpr std::uint8_t kCmdStatus = 51;
inline constexpr std::uint8_t kCmdVersion = 70;
inline constexpr std::uint8_t kCmdModuleCounters = 34;
inline constexpr std::uint8_t kCmdTableList = 62;
inline constexpr std::uint8_t kCmdWriteTable = 63;
inline constexpr std::uint8_t kCmdDescriptor = 64;

// What a command handler answers: the ACK byte and the payload after it.
struct Answer {
  std::uint8_t ack = kAck;
  Bytes payload;
};

class SimParTables;
class SimConfigBlocks;
class SimTerminal;
class SimSerialPorts;
class SimClock;
class SimDiagnosisMemory;
class SimProducts;
class SimLineInjection;

class SimDevice {
 public:
  // Milliseconds since the device was switched on.
  using Clock = std::function<std::uint64_t()>;
  using Handler = std::function<Answer(const Frame& request)>;

  static Clock steadyClock();

  explicit SimDevice(Clock clock = steadyClock(), std::string versionText = " RW4000 SIM 8.10");
  ~SimDevice();

  // The complete reply frame to one request. Commands without a handler of
  // their own get a bare positive reply.
  Bytes reply(const Frame& request);

  // Adds or replaces the handler of one command code.
  void setHandler(std::uint8_t command, Handler handler);

  std::uint64_t uptimeMs() const { return clock_(); }

  // The parameter tables (commands 62, 63, 64); replace them to change the
  // device's shape.
  SimParTables& parTables() { return *parTables_; }
  const std::string& versionText() const { return versionText_; }
  // The display terminal (3, 4), the serial ports (1, 2) and the clock (5, 6).
  SimTerminal& terminal() { return *terminal_; }
  SimSerialPorts& serialPorts() { return *serial_; }
  SimClock& deviceClock() { return *deviceClock_; }
  // The event log, RAM, EEPROM and barcode buffer (commands 69, 21, 12, 10,
  // 17, 18, 33); replace it to change the log's length.
  SimDiagnosisMemory& diagnosisMemory() { return *memory_; }
  // The product store (commands 61, 60, 50, 31).
  SimProducts& products() { return *products_; }
  // The weight trace of command 14.
  SimWeightTrace& weightTrace() { return weightTrace_; }

 private:
  Answer versionAnswer() const;
  Answer statusAnswer();

  Clock clock_;
  std::string versionText_;
  std::map<std::uint8_t, Handler> handlers_;
  std::unique_ptr<SimParTables> parTables_;
  std::unique_ptr<SimConfigBlocks> blocks_;
  std::unique_ptr<SimTerminal> terminal_;
  std::unique_ptr<SimSerialPorts> serial_;
  std::unique_ptr<SimClock> deviceClock_;
  std::unique_ptr<SimDiagnosisMemory> memory_;
  std::unique_ptr<SimProducts> products_;
  std::uint16_t counter_ = 0;
  SimWeightTrace weightTrace_;
  std::unique_ptr<SimLineInjection> line_;  // commands 19 and 30
};

}  // namespace rwsim
