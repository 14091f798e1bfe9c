#pragma once
// The decoded text of the device's event log: one heading with the device's
// identification and address, the event count, then one line per event. A pure
// function of the downloaded image, so it is tested and fuzzed on its own.
//
// Layout of the log area, offsets from its base address, words little-endian:
//   0       word 0 (unused)
//   4       end address: just past the last identifier written
//   8       word 2 (unused)
//   12      100 000 identifier bytes, event i at 12 + i
//   100 012 100 000 time words, event i at 100 012 + 4 i
#include <cstdint>
#include <string>

#include "link/bytes.h"

namespace vantor {

inline constexpr size_t kLogBlockBytes = 1000;
inline constexpr uint32_t kLogBlocks = 501;
inline constexpr size_t kLogImageBytes = kLogBlockBytes * kLogBlocks;
inline constexpr int32_t kLogMaxEvents = 100000;

// The event count the end address gives, and the count decoded: the first
// clamped to 0 .. kLogMaxEvents.
struct EventLogCount {
  int32_t stated = 0;
  int32_t used = 0;
  bool clamped() const { return stated != used; }
};

// `image` holds the log area from its base address; bytes past its end read as zero.
EventLogCount eventLogCount(ByteView image, uint32_t baseAddress);

// The whole file text, each line ended by CR LF.
std::string eventLogText(ByteView image, uint32_t baseAddress, const std::string& identification,
                         const std::string& host);

// The name of the log file in the data directory: "%s%s.log".
std::string eventLogPath(const std::string& dataDir, const std::string& caption);

}  // namespace vantor
