#include <gtest/gtest.h>

#include <random>

#include "monitor/trace_reducer.h"

using namespace vantor;

namespace {

TraceSample randomSample(std::mt19937& rng) {
  std::uniform_int_distribution<int32_t> weight(-100000, 100000);
  std::uniform_int_distribution<uint32_t> word;
  return {weight(rng), weight(rng), word(rng)};
}

// Min and max of each series over samples a <= x < b, the slow way.
TraceSummary bruteForce(const TraceHistory& h, uint64_t a, uint64_t b) {
  TraceSummary s;
  for (uint64_t x = a; x < b; ++x) s.add(h.sample(x), h.shown(x));
  return s;
}

}  // namespace

// Columns reduced from the summaries equal min and max over the raw samples of
// each column, for ranges that start and end anywhere across block and chunk
// boundaries.
TEST(TraceReducer, ColumnsMatchABruteForceMinMax) {
  std::mt19937 rng(1234);
  TraceHistory h;
  const uint64_t total = 3 * TraceHistory::kChunk + 777;
  for (uint64_t i = 0; i < total; ++i) h.append(randomSample(rng), static_cast<uint8_t>(rng() & 3));

  std::uniform_int_distribution<uint64_t> at(0, total + 50);
  std::uniform_int_distribution<int> width(1, 1500);
  ReducedTrace r;
  for (int round = 0; round < 40; ++round) {
    uint64_t a = at(rng), b = at(rng);
    if (a > b) std::swap(a, b);
    const int w = round == 0 ? 3 : width(rng);
    if (round == 1) a = 0, b = total + 10;  // the whole history
    reduceTrace(h, double(a), double(b), w, r);
    const uint64_t lo = std::max<uint64_t>(a, h.firstX());
    const uint64_t end = std::min<uint64_t>(b + 1, h.endX());
    ASSERT_EQ(r.firstX, lo);
    ASSERT_EQ(r.endX, end);
    const uint64_t n = end - lo;
    SCOPED_TRACE("range " + std::to_string(a) + ".." + std::to_string(b) + " width " +
                 std::to_string(w));
    std::array<size_t, kTraceSeriesCount> used{};
    for (uint64_t c = 0; c < uint64_t(w) && n > 2 * uint64_t(w); ++c) {
      const TraceSummary want = bruteForce(h, lo + c * n / w, lo + (c + 1) * n / w);
      for (int k = 0; k < kTraceSeriesCount; ++k) {
        if (!want.has(k)) continue;
        ASSERT_LT(used[k] + 1, r.series[k].size());
        // Min first in a series' first column, then max first, in turns.
        const bool maxFirst = (used[k] / 2) % 2 == 1;
        const TracePoint& p0 = r.series[k][used[k]];
        const TracePoint& p1 = r.series[k][used[k] + 1];
        EXPECT_EQ(maxFirst ? p1.y : p0.y, want.min[k]) << traceSeriesName(k) << " column " << c;
        EXPECT_EQ(maxFirst ? p0.y : p1.y, want.max[k]) << traceSeriesName(k) << " column " << c;
        EXPECT_EQ(p0.x, p1.x);
        used[k] += 2;
      }
    }
    if (n > 2 * uint64_t(w)) {
      for (int k = 0; k < kTraceSeriesCount; ++k) EXPECT_EQ(used[k], r.series[k].size());
    } else {
      EXPECT_EQ(r.series[RealPeso].size(), n);  // few enough: every sample
    }
  }
}

TEST(TraceReducer, PointsPerSeriesDependOnTheWidthNotTheLength) {
  TraceHistory h;
  std::mt19937 rng(7);
  for (uint64_t i = 0; i < 2 * TraceHistory::kChunk; ++i) h.append(randomSample(rng), 3);
  ReducedTrace r;
  reduceTrace(h, 0, 1e9, 800, r);
  for (const auto& s : r.series) EXPECT_EQ(s.size(), 1600u);
  reduceTrace(h, 500, 1500, 800, r);  // 1001 samples, at most two a column: all of them
  EXPECT_EQ(r.series[RealPeso].size(), 1001u);
  EXPECT_EQ(r.series[RealPeso].front().x, 500);
  reduceTrace(h, 1e10, 2e10, 800, r);
  EXPECT_TRUE(r.series[RealPeso].empty());
}

// Past the cap the oldest whole chunk goes; memory per sample stays within
// 16 bytes for all ten series together.
TEST(TraceHistory, DropsTheOldestChunkPastItsCapAndStaysCompact) {
  const uint64_t cap = 2 * TraceHistory::kChunk;
  TraceHistory h(cap);
  const uint64_t total = 3 * TraceHistory::kChunk + 10;
  for (uint64_t i = 1; i <= total; ++i) {
    h.append({static_cast<int32_t>(i), 0, 0}, 0);
    // The oldest chunk goes only once the rest still holds the cap.
    if (i == 3 * TraceHistory::kChunk - 1) {
      EXPECT_EQ(h.dropped(), 0u);
    }
  }
  EXPECT_EQ(h.dropped(), TraceHistory::kChunk);
  EXPECT_EQ(h.firstX(), TraceHistory::kChunk + 1);
  EXPECT_EQ(h.sample(h.firstX()).real, static_cast<int32_t>(TraceHistory::kChunk + 1));
  EXPECT_EQ(h.sample(h.endX() - 1).real, static_cast<int32_t>(total));
  EXPECT_GE(h.size(), cap);
  int32_t lo, hi;
  ASSERT_TRUE(traceValueRange(h, 0, 1e12, RealPeso, RealPeso + 1, lo, hi));
  EXPECT_EQ(lo, static_cast<int32_t>(TraceHistory::kChunk + 1));

  TraceHistory full;
  for (uint64_t i = 0; i < 8 * TraceHistory::kChunk; ++i) full.append({}, 0);
  EXPECT_LE(double(full.bytesHeld()) / double(full.size()), 16.0);
}
