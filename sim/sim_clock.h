#pragma once

// The simulated device's real-time clock: it starts at the host's local time
// and keeps running from whatever it was last set to. Command 5 sets it from
// "DDMMYYYY", a zero byte, "HHMMSS", a zero byte (anything else gets NAK);
// command 6 answers "DDMMYYYYHHMMSS".

#include <cstdint>
#include <functional>
#include <string>

#include "frame_codec.h"

namespace rwsim {

class SimDevice;

inline constexpr std::uint8_t kCmdSetClock = 5;
inline constexpr std::uint8_t kCmdReadClock = 6;

class SimClock {
 public:
  // uptimeMs: the device's running time; startSeconds: the clock at uptime 0,
  // as seconds since 1970-01-01 00:00:00 of the clock's own calendar.
  SimClock(std::function<std::uint64_t()> uptimeMs, std::int64_t startSeconds);
  // The host's local time now, as such seconds.
  static std::int64_t hostLocalSeconds();

  void install(SimDevice& device);

  // Sets the clock from the 16 request bytes; false when they are not a valid time.
  bool set(const Bytes& request);
  // "DDMMYYYYHHMMSS" of the clock now.
  std::string digits() const;

 private:
  std::function<std::uint64_t()> uptimeMs_;
  std::int64_t baseSeconds_;
  std::uint64_t baseUptimeMs_ = 0;
};

}  // namespace rwsim
