// A full read of the parameter tables: 10 tables of 50 parameters served by
// rw4000-sim (--tables full), that is the table list and 500 descriptors, 501
// exchanges. Timed for the tool's core (the ParTables sweep, each reply
// queueing the next request) and for the platform-floor and physical-floor
// clients doing the same 501 exchanges with the same bytes. Median of five
// runs each, all in the same run.
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

constexpr int kRuns = 5;
constexpr size_t kTables = 10;
constexpr size_t kParams = 50;
constexpr size_t kExchanges = 1 + kTables * kParams;
const QString kHost = "127.0.0.61";

// What the device announced, so the floors can read replies of the right length.
struct Shape {
  size_t tables = 0, params = 0, codeWidth = 0, nameWidth = 0, helpWidth = 0;
};

double coreRun(Shape& shape) {
  size_t replies = 0;
  const double seconds = coreChain(
      kHost, [](Device& d) { d.parTables.GetAllParClick(); },
      [&](Device& d, int code) {
        ++replies;
        if (code != 64 || d.parTables.busy()) return false;
        const ParTableStore& s = d.parTables.store();
        shape = {s.tableCount(), 0, s.accessCodeWidth(), s.nameWidth(), s.helpWidth()};
        for (size_t t = 0; t < s.tableCount(); ++t) shape.params += s.table(t).paramCount;
        return true;
      });
  return replies == kExchanges ? seconds : -1;
}

std::vector<Exchange> readExchanges(const Shape& shape) {
  std::vector<Exchange> out;
  TxFrame tx;
  auto add = [&](int code, std::initializer_list<uint8_t> params, size_t payload) {
    tx.begin(code);
    for (uint8_t b : params) tx.put8(b);
    out.push_back(mainExchange(tx.finish(), payload));
  };
  add(62, {}, 4 + 3 * shape.codeWidth + 32 * shape.tables);
  for (size_t t = 0; t < kTables; ++t)
    for (size_t r = 0; r < kParams; ++r)
      add(64, {static_cast<uint8_t>(t), static_cast<uint8_t>(r)},
          shape.nameWidth + shape.helpWidth + 19);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  rwsim::SimProcess sim(kHost, {}, {"--tables", "full"});
  if (!sim.ready()) {
    std::fprintf(stderr, "params_bench: rw4000-sim did not start on %s\n", qPrintable(kHost));
    return 1;
  }
  Shape shape;
  std::vector<double> core;
  FloorRuns floors;
  for (int run = 0; run < kRuns; ++run) {
    core.push_back(coreRun(shape));
    if (core.back() < 0 || shape.tables != kTables || shape.params != kTables * kParams) {
      std::fprintf(stderr, "params_bench: the core did not read %zu tables of %zu parameters\n",
                   kTables, kParams);
      return 1;
    }
    if (!floors.add(kHost, 47000, readExchanges(shape))) {
      std::fprintf(stderr, "params_bench: a floor run failed\n");
      return 1;
    }
  }
  std::printf("full read of %zu tables x %zu parameters: %zu exchanges, median of %d runs\n",
              kTables, kParams, kExchanges, kRuns);
  printAgainstFloors("core (ParTables sweep)", core, floors, kExchanges);
  return 0;
}
