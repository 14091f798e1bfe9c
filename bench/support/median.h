#pragma once
#include <algorithm>
#include <vector>

namespace vantor::bench {

// The median of a handful of measurements.
inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace vantor::bench
