#include "monitor/trace_reducer.h"

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

// The held samples of [xMin, xMax] as lo <= x < end; empty when none.
void heldRange(const TraceHistory& h, double xMin, double xMax, uint64_t& lo, uint64_t& end) {
  lo = h.firstX();
  end = h.endX();
  if (!(xMin <= xMax)) {  // also NaN
    end = lo;
    return;
  }
  const double first = std::floor(xMin);
  const double last = std::ceil(xMax);
  if (last < static_cast<double>(lo) || first >= static_cast<double>(end)) {
    end = lo;
    return;
  }
  if (first > static_cast<double>(lo)) lo = static_cast<uint64_t>(first);
  if (last + 1 < static_cast<double>(end)) end = static_cast<uint64_t>(last) + 1;
}

}  // namespace

void reduceTrace(const TraceHistory& h, double xMin, double xMax, int columns, ReducedTrace& out) {
  for (auto& s : out.series) s.clear();
  uint64_t lo, end;
  heldRange(h, xMin, xMax, lo, end);
  out.firstX = lo;
  out.endX = end;
  if (lo >= end) return;
  const uint64_t n = end - lo;
  const uint64_t w = static_cast<uint64_t>(std::max(columns, 1));
  if (n <= 2 * w) {
    for (uint64_t x = lo; x < end; ++x) {
      const TraceSample& s = h.sample(x);
      const uint8_t shown = h.shown(x);
      for (int k = 0; k < kTraceSeriesCount; ++k) {
        int32_t y;
        if (traceY(s, shown, k, y)) out.series[k].push_back({double(x), double(y)});
      }
    }
    return;
  }
  for (auto& s : out.series) s.reserve(2 * w);
  TraceSummary sum;
  // Each series takes its columns' min and max in turns, min first then max
  // first, so its polyline runs up and down the columns instead of crossing
  // each column diagonally (a line drawn over itself is slow to paint).
  std::array<bool, kTraceSeriesCount> maxFirst{};
  for (uint64_t c = 0; c < w; ++c) {
    const uint64_t a = lo + c * n / w;
    const uint64_t b = lo + (c + 1) * n / w;
    sum.clear();
    h.summarize(a, b, sum);
    const double x = (double(a) + double(b - 1)) / 2;
    for (int k = 0; k < kTraceSeriesCount; ++k) {
      if (!sum.has(k)) continue;
      const double first = maxFirst[k] ? sum.max[k] : sum.min[k];
      const double second = maxFirst[k] ? sum.min[k] : sum.max[k];
      out.series[k].push_back({x, first});
      out.series[k].push_back({x, second});
      maxFirst[k] = !maxFirst[k];
    }
  }
}

bool traceValueRange(const TraceHistory& h, double xMin, double xMax, int firstSeries,
                     int endSeries, int32_t& min, int32_t& max) {
  uint64_t lo, end;
  heldRange(h, xMin, xMax, lo, end);
  TraceSummary sum;
  h.summarize(lo, end, sum);
  bool any = false;
  for (int k = firstSeries; k < endSeries; ++k) {
    if (!sum.has(k)) continue;
    min = any ? std::min(min, sum.min[k]) : sum.min[k];
    max = any ? std::max(max, sum.max[k]) : sum.max[k];
    any = true;
  }
  return any;
}

}  // namespace vantor
