#include "support/floor_report.h"

#include <cstdio>

#include "support/median.h"

namespace vantor::bench {

bool FloorRuns::add(const QString& host, uint16_t port, const std::vector<Exchange>& exchanges) {
  platform.push_back(platformFloor(host, port, exchanges));
  physical.push_back(physicalFloor(host, port, exchanges));
  return platform.back() >= 0 && physical.back() >= 0;
}

void printAgainstFloors(const char* coreName, const std::vector<double>& core,
                        const FloorRuns& floors, double exchanges) {
  const double c = median(core), p = median(floors.platform), f = median(floors.physical);
  const double perExchange = 1e6 / exchanges;
  const auto line = [&](const char* name, double seconds) {
    std::printf("%-22s %8.2f ms  %7.1f us per exchange\n", name, seconds * 1e3,
                seconds * perExchange);
  };
  line(coreName, c);
  line("platform floor", p);
  line("physical floor", f);
  std::printf("%-22s %8.3f (target at most 1.15)\n", "core / platform floor", c / p);
  std::printf("%-22s %8.3f\n", "core / physical floor", c / f);
}

}  // namespace vantor::bench
