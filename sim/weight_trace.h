#pragma once

// The weight trace of a running line (command 14): 1000 samples a second, a
// box every 1.2 s. Each sample is a pure function of its number and the seed,
// so a test that knows the seed can predict every byte.
//
// A weight injected by the tool (command 19) replaces the nominal weight of
// the next box to reach the scale.
//
// A reply carries the samples that accrued since the previous request, at
// most the newest 1000; the first request on a connection gets the last 250.

#include <cstdint>
#include <map>

#include "frame_codec.h"

namespace rwsim {

inline constexpr std::uint8_t kCmdWeightTrace = 14;

struct TraceSample {
  std::int32_t real = 0;
  std::int32_t filtered = 0;
  std::uint8_t flags = 0;
  std::int32_t calculated = 0;  // 24 bits on the wire
};

class SimWeightTrace {
 public:
  static constexpr std::uint64_t kBoxPeriod = 1200;  // samples (ms) from box to box
  static constexpr std::uint64_t kFirstBlock = 250;
  static constexpr std::uint64_t kMaxBlock = 1000;

  explicit SimWeightTrace(std::uint32_t seed = 1) : seed_(seed) {}

  void setSeed(std::uint32_t seed) { seed_ = seed; }
  // A new main connection: its first request gets the last kFirstBlock samples.
  void connected() { sentUpTo_ = 0, started_ = false; }
  // The reply payload at this uptime (sample i is taken at millisecond i).
  Bytes reply(std::uint64_t uptimeMs);

  // The next box that reaches the scale after uptimeMs weighs `grams`.
  void injectWeight(std::uint64_t uptimeMs, std::int32_t grams);
  // The box number that injectWeight at uptimeMs acts on.
  static std::uint64_t nextBox(std::uint64_t uptimeMs);

  // Boxes whose weight was injected, by box number.
  using Injected = std::map<std::uint64_t, std::int32_t>;
  // Sample number i of a line running with this seed.
  static TraceSample sampleAt(std::uint64_t i, std::uint32_t seed,
                              const Injected* injected = nullptr);
  // The nominal weight of box number `box`.
  static std::int32_t nominal(std::uint64_t box, std::uint32_t seed);

 private:
  static constexpr std::size_t kMaxInjected = 64;  // the oldest are forgotten
  std::uint32_t seed_;
  Injected injected_;
  std::uint64_t sentUpTo_ = 0;
  bool started_ = false;
};

}  // namespace rwsim
