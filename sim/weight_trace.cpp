#include "weight_trace.h"

#include <algorithm>

#include "le_bytes.h"

namespace rwsim {

namespace {

// A well-mixed 32-bit value from a seed and a number (splitmix64 finaliser).
std::uint32_t mix(std::uint32_t seed, std::uint64_t n) {
  std::uint64_t z = n * 0x9E3779B97F4A7C15ull + seed * 0xBF58476D1CE4E5B9ull + 1;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<std::uint32_t>(z ^ (z >> 31));
}

// Noise in -spread .. spread.
std::int32_t noise(std::uint32_t seed, std::uint64_t n, std::int32_t spread) {
  return static_cast<std::int32_t>(mix(seed, n) % static_cast<std::uint32_t>(2 * spread + 1)) -
         spread;
}

// The phases of one box period, in samples from its start.
constexpr std::uint64_t kArrive = 200;       // sensor on, the box reaches the scale
constexpr std::uint64_t kSettled = 320;      // the weight has risen
constexpr std::uint64_t kBarcode = 260;      // barcode on the serial line
constexpr std::uint64_t kValidCode = 330;    // valid barcode waiting
constexpr std::uint64_t kLeave = 700;        // sensor off, calculated weight set
constexpr std::uint64_t kCodeTaken = 760;    // the waiting barcode is used
constexpr std::uint64_t kZeroSearch = 1000;  // the scale is empty again: zero search

}  // namespace

std::int32_t SimWeightTrace::nominal(std::uint64_t box, std::uint32_t seed) {
  return 1000 + static_cast<std::int32_t>(mix(seed ^ 0xB0C5u, box) % 500);
}

std::uint64_t SimWeightTrace::nextBox(std::uint64_t uptimeMs) {
  const std::uint64_t box = uptimeMs / kBoxPeriod;
  return uptimeMs % kBoxPeriod < kArrive ? box : box + 1;
}

void SimWeightTrace::injectWeight(std::uint64_t uptimeMs, std::int32_t grams) {
  injected_[nextBox(uptimeMs)] = grams;
  while (injected_.size() > kMaxInjected) injected_.erase(injected_.begin());
}

TraceSample SimWeightTrace::sampleAt(std::uint64_t i, std::uint32_t seed,
                                     const Injected* injected) {
  const auto weightOf = [&](std::uint64_t box) {
    if (injected) {
      if (const auto it = injected->find(box); it != injected->end()) return it->second;
    }
    return nominal(box, seed);
  };
  const std::uint64_t box = i / kBoxPeriod;
  const std::uint64_t p = i % kBoxPeriod;
  const std::int32_t target = weightOf(box);
  TraceSample s;
  // Real weight: rises over kArrive..kSettled with an overshoot, settles with
  // noise, falls when the box leaves.
  std::int32_t load = 0;
  if (p >= kArrive && p < kSettled) {
    const auto t = static_cast<std::int32_t>(p - kArrive);
    const auto span = static_cast<std::int32_t>(kSettled - kArrive);
    load = target * t / span + (t > span / 2 ? target / 20 * (span - t) / span : 0);
  } else if (p >= kSettled && p < kLeave + 40) {
    load = target;
  } else if (p >= kLeave + 40 && p < kLeave + 80) {
    load = target * static_cast<std::int32_t>(kLeave + 80 - p) / 40;
  }
  s.real = load + noise(seed, i, load > 0 ? 6 : 2);
  // Filtered weight: follows the real one with a lag (a running mean of the
  // noiseless load over the previous 64 samples, computed in closed form).
  std::int64_t sum = 0;
  for (std::uint64_t k = 0; k < 64; k += 8) {
    const std::uint64_t j = i >= k ? i - k : 0;
    const std::uint64_t q = j % kBoxPeriod;
    sum += (q >= kArrive + 60 && q < kLeave + 60) ? weightOf(j / kBoxPeriod) : 0;
  }
  s.filtered = static_cast<std::int32_t>(sum / 8);
  const bool sensor = p >= kArrive && p < kLeave;
  s.flags = sensor ? 0x01 : 0;
  if (p >= kLeave + 10 && p < kLeave + 60) s.flags |= 0x02;                   // output 1 pulse
  if (box % 3 == 0 && p >= kLeave + 60 && p < kLeave + 110) s.flags |= 0x04;  // every third box
  if (p >= kLeave + 110 && p < kLeave + 150) s.flags |= 0x08;                 // output 3
  if (p >= kBarcode && p < kValidCode) s.flags |= 0x10;
  if (p >= kValidCode && p < kCodeTaken) s.flags |= 0x20;
  if (p >= kLeave && p < kZeroSearch) {
    s.calculated = target + noise(seed ^ 0xCA1Cu, box, 2);
  } else if (p >= kZeroSearch) {
    s.calculated = noise(seed ^ 0x2E50u, i / 50, 3);  // the zero as the search finds it
  }
  return s;
}

Bytes SimWeightTrace::reply(std::uint64_t uptimeMs) {
  const std::uint64_t newest = uptimeMs;  // samples 0 .. newest-1 have accrued
  std::uint64_t from = started_ ? sentUpTo_ : (newest > kFirstBlock ? newest - kFirstBlock : 0);
  if (newest - from > kMaxBlock) from = newest - kMaxBlock;
  from = std::min(from, newest);
  started_ = true;
  sentUpTo_ = newest;
  Bytes out;
  appendLe32(out, static_cast<std::uint32_t>(newest - from));
  for (std::uint64_t i = from; i < newest; ++i) {
    const TraceSample s = sampleAt(i, seed_, &injected_);
    appendLe32(out, static_cast<std::uint32_t>(s.real));
    appendLe32(out, static_cast<std::uint32_t>(s.filtered));
    appendLe32(out, static_cast<std::uint32_t>(s.calculated) << 8 | s.flags);
  }
  return out;
}

}  // namespace rwsim
