#pragma once
// Every trace sample since start-up, kept compact: the 12 bytes the device sent
// and one byte of which optional lines were shown, plus a min/max summary of
// the ten series at two block sizes and per chunk, so any range of samples is
// summarised by touching a few hundred entries whatever its length.
//
// Samples are numbered by the trace counter: the first sample ever appended is
// x = 1. Memory is bounded: past the cap the oldest whole chunk is dropped.
#include <array>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "monitor/trace_sample.h"

namespace vantor {

// Min and max of each series over some samples; min > max when none of them
// gave the series a point.
struct TraceSummary {
  std::array<int32_t, kTraceSeriesCount> min;
  std::array<int32_t, kTraceSeriesCount> max;

  TraceSummary() { clear(); }
  void clear() {
    min.fill(std::numeric_limits<int32_t>::max());
    max.fill(std::numeric_limits<int32_t>::min());
  }
  bool has(int series) const { return min[series] <= max[series]; }
  void add(const TraceSample& s, uint8_t shown);
  void add(const TraceSummary& other);
};

class TraceHistory {
 public:
  static constexpr uint64_t kSamplesPerHour = 3600ull * 1000;
  static constexpr uint64_t kDefaultCap = 8 * kSamplesPerHour;  // 8 h at 1000 samples/s
  static constexpr size_t kBlock1 = 64;
  static constexpr size_t kBlock2 = 4096;
  static constexpr size_t kChunk = 65536;

  explicit TraceHistory(uint64_t capSamples = kDefaultCap);

  void append(const TraceSample& s, uint8_t shown);

  uint64_t firstX() const { return dropped_ + 1; }  // the oldest sample held
  uint64_t endX() const { return appended_ + 1; }   // one past the newest
  uint64_t size() const { return appended_ - dropped_; }
  uint64_t dropped() const { return dropped_; }
  uint64_t cap() const { return cap_; }

  // Held samples only: firstX() <= x < endX().
  const TraceSample& sample(uint64_t x) const;
  uint8_t shown(uint64_t x) const;

  // Adds the samples x0 <= x < x1 (clipped to those held) to `out`.
  void summarize(uint64_t x0, uint64_t x1, TraceSummary& out) const;

  // Memory held for the samples and their summaries.
  uint64_t bytesHeld() const;

 private:
  struct Chunk {
    std::vector<TraceSample> samples;
    std::vector<uint8_t> shown;
    std::vector<TraceSummary> level1;  // per kBlock1 samples
    std::vector<TraceSummary> level2;  // per kBlock2 samples
    TraceSummary whole;
    Chunk();
  };
  void summarizeChunk(const Chunk& c, size_t a, size_t b, TraceSummary& out) const;

  uint64_t cap_;
  uint64_t appended_ = 0;
  uint64_t dropped_ = 0;
  std::deque<std::unique_ptr<Chunk>> chunks_;
};

}  // namespace vantor
