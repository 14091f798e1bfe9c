#pragma once
// The core's times against the floors' over the runs of a benchmark.
#include <QString>
#include <cstdint>
#include <vector>

#include "support/floor_clients.h"

namespace vantor::bench {

// The times of both floors over the runs of a benchmark.
struct FloorRuns {
  std::vector<double> platform, physical;
  // Times each floor once more; false when either failed.
  bool add(const QString& host, uint16_t port, const std::vector<Exchange>& exchanges);
};

// Prints the medians of the core's and the floors' times over `exchanges`
// exchanges: milliseconds, microseconds per exchange, and the core's ratio to
// each floor.
void printAgainstFloors(const char* coreName, const std::vector<double>& core,
                        const FloorRuns& floors, double exchanges);

}  // namespace vantor::bench
