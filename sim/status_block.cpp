#include "status_block.h"

#include <cmath>
#include <numbers>
#include <type_traits>

namespace rwsim {

namespace {

// A slow wave: base + amplitude * sin(2*pi*t/period + phase), rounded.
double wave(double seconds, double base, double amplitude, double periodSeconds, double phase) {
  return base + amplitude * std::sin(2.0 * std::numbers::pi * seconds / periodSeconds + phase);
}

struct WeighHead {
  double baseGrams;
  double amplitudeGrams;
  double periodSeconds;
};

// Five filling heads around their target and the empty check scale, whose
// zero drifts a few grams either side.
constexpr std::array<WeighHead, kWeightCount> kHeads{{
    {500.0, 4.0, 17.0},
    {502.0, 3.0, 23.0},
    {498.0, 5.0, 29.0},
    {1000.0, 6.0, 31.0},
    {250.0, 2.0, 37.0},
    {0.0, 8.0, 41.0},
}};

template <typename T>
void putLe(Bytes& out, std::size_t offset, T value) {
  using U = std::make_unsigned_t<T>;
  auto bits = static_cast<U>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out[offset + i] = static_cast<std::uint8_t>(bits & 0xFFu);
    bits = static_cast<U>(bits >> 8);
  }
}

template <std::size_t N>
void putBytes(Bytes& out, std::size_t offset, const std::array<std::uint8_t, N>& bytes) {
  for (std::size_t i = 0; i < N; ++i) {
    out[offset + i] = bytes[i];
  }
}

}  // namespace

StatusValues statusAt(std::uint64_t uptimeMs) {
  const double t = static_cast<double>(uptimeMs) / 1000.0;
  const std::uint64_t wholeSeconds = uptimeMs / 1000;

  StatusValues v;
  v.comm = {0x01, 0x00, 0x00, 0x00};  // host link up
  v.uptimeSeconds = static_cast<std::uint32_t>(wholeSeconds & 0xFFFFFFFFu);
  v.lineSpeed = static_cast<std::uint32_t>(std::lround(wave(t, 120.0, 6.0, 40.0, 0.0)));
  v.runState = 1;  // running
  v.step = static_cast<std::uint8_t>((wholeSeconds / 7) % 4);
  v.menuLine = static_cast<std::uint8_t>((wholeSeconds / 5) % kMenuLines);
  v.bottomBarField = static_cast<std::uint8_t>((wholeSeconds / 3) % kBottomBarFields);
  v.port2 = {0x00, 0x01, 0x00, 0x00};
  for (std::size_t i = 0; i < kWeightCount; ++i) {
    const WeighHead& head = kHeads[i];
    const double phase = static_cast<double>(i) * 0.7;
    v.weights[i] = static_cast<std::int32_t>(
        std::lround(wave(t, head.baseGrams, head.amplitudeGrams, head.periodSeconds, phase)));
  }
  v.weighingTimeMs = static_cast<std::uint16_t>(std::lround(wave(t, 180.0, 20.0, 25.0, 1.0)));
  v.errorFlags = 0;
  v.webDebug = {0x00, 0x00, 0x00, 0x00};
  return v;
}

Bytes encodeStatus(const StatusValues& v) {
  Bytes out(kStatusBlockSize, 0);
  putBytes(out, 0, v.comm);
  putLe(out, 4, v.uptimeSeconds);
  putLe(out, 8, v.lineSpeed);
  out[12] = v.runState;
  out[13] = v.step;
  out[14] = v.menuLine;
  out[15] = v.bottomBarField;
  putBytes(out, 16, v.port2);
  for (std::size_t i = 0; i < kWeightCount; ++i) {
    putLe(out, 20 + 4 * i, v.weights[i]);
  }
  putLe(out, 44, v.weighingTimeMs);
  putLe(out, 46, v.errorFlags);
  putBytes(out, 52, v.webDebug);
  return out;
}

}  // namespace rwsim
