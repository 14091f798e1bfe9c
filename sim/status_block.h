#pragma once

// The 56-byte status block the device sends in answer to command 51.
// Everything is little-endian:
//    0..3  communication status bytes (1: barcode flags of injected codes)
//    4  uint32 T (uptime, seconds)
//    8  uint32 Ls (line speed, packs/min)  12 uint8 Rs (run state)
//   13  uint8 St (machine step)            14 uint8 menu line (0..13)
//   15  uint8 bottom-bar field (0..5)      16..19 port-2 bytes
//   20..43 six int32 weights (grams)       44 uint16 weighing time (ms)
//   46  uint32 error flags                 50..51 unused
//   52..55 web debug bytes

#include <array>
#include <cstdint>

#include "frame_codec.h"

namespace rwsim {

inline constexpr std::size_t kStatusBlockSize = 56;
inline constexpr std::size_t kWeightCount = 6;
inline constexpr std::uint8_t kMenuLines = 14;
inline constexpr std::uint8_t kBottomBarFields = 6;

struct StatusValues {
  std::array<std::uint8_t, 4> comm{};
  std::uint32_t uptimeSeconds = 0;
  std::uint32_t lineSpeed = 0;
  std::uint8_t runState = 0;
  std::uint8_t step = 0;
  std::uint8_t menuLine = 0;
  std::uint8_t bottomBarField = 0;
  std::array<std::uint8_t, 4> port2{};
  std::array<std::int32_t, kWeightCount> weights{};
  std::uint16_t weighingTimeMs = 0;
  std::uint32_t errorFlags = 0;
  std::array<std::uint8_t, 4> webDebug{};
};

// What a running line looks like after uptimeMs: slow drifts on speed, weights
// and weighing time, the operator panel stepping through menu lines.
StatusValues statusAt(std::uint64_t uptimeMs);

Bytes encodeStatus(const StatusValues& values);

}  // namespace rwsim
