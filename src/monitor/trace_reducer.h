#pragma once
// Turns a range of the trace history into what a chart of a given width can
// show: every sample while there are no more than two per pixel column, else
// the min and the max of each column per series, taken from the history's
// summaries. The work depends on the width, not on the length of the range.
#include <array>
#include <vector>

#include "monitor/trace_history.h"

namespace vantor {

struct TracePoint {
  double x;
  double y;
};

struct ReducedTrace {
  std::array<std::vector<TracePoint>, kTraceSeriesCount> series;
  uint64_t firstX = 0;  // the samples covered, firstX <= x < endX
  uint64_t endX = 0;
};

// Samples from floor(xMin) to ceil(xMax), clipped to those held, over
// `columns` pixel columns. Column c covers the samples
// lo + c*n/columns <= index < lo + (c+1)*n/columns (n samples in all); its
// min and max are placed at the column's middle x, min first in a series'
// first column, then max first, and so on in turns.
void reduceTrace(const TraceHistory& history, double xMin, double xMax, int columns,
                 ReducedTrace& out);

// Min and max of the given series over the samples of [xMin, xMax]; false when
// none of them has a point there.
bool traceValueRange(const TraceHistory& history, double xMin, double xMax, int firstSeries,
                     int endSeries, int32_t& min, int32_t& max);

}  // namespace vantor
