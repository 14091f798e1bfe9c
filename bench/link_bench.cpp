// The link's cost per exchange: 2000 status requests answered by rw4000-sim
// on loopback, by the tool's core link, by a bare Qt event-loop client (the
// platform floor) and by a blocking socket client (the physical floor).
// Median of five runs each, all in the same run.
#include <QCoreApplication>
#include <cstdio>

#include "launcher/sim_process.h"
#include "link/tx_frame.h"
#include "support/core_client.h"
#include "support/floor_clients.h"
#include "support/floor_report.h"

using namespace vantor;
using namespace vantor::bench;

namespace {

constexpr int kExchanges = 2000;
constexpr int kRuns = 5;
const QString kHost = "127.0.0.60";

double coreRun() {
  int replies = 0;
  return coreChain(
      kHost, [](Device& d) { d.channel.queueCmd(51); },
      [&](Device& d, int code) {
        if (code != 51) return false;
        if (++replies == kExchanges) return true;
        d.channel.queueCmd(51);
        return false;
      });
}

std::vector<Exchange> statusExchanges() {
  TxFrame tx;
  tx.begin(51);
  return std::vector<Exchange>(kExchanges, mainExchange(tx.finish(), 56));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  rwsim::SimProcess sim(kHost);
  if (!sim.ready()) {
    std::fprintf(stderr, "link_bench: rw4000-sim did not start on %s\n", qPrintable(kHost));
    return 1;
  }
  const std::vector<Exchange> exchanges = statusExchanges();
  std::vector<double> core;
  FloorRuns floors;
  for (int run = 0; run < kRuns; ++run) {
    core.push_back(coreRun());
    if (core.back() < 0 || !floors.add(kHost, 47000, exchanges)) {
      std::fprintf(stderr, "link_bench: a run failed\n");
      return 1;
    }
  }
  std::printf("%d exchanges of command 51, median of %d runs\n", kExchanges, kRuns);
  printAgainstFloors("core link", core, floors, kExchanges);
  return 0;
}
