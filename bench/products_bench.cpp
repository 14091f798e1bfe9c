// A full download of the products: rw4000-sim --products 500 serves the
// structure, its 11 field descriptors, the count and 500 products, 513
// exchanges. Timed for the tool's core (the Products chain, each reply
// queueing the next request) and for the platform-floor and physical-floor
// clients doing the same exchanges with the same bytes. Median of five runs
// each, all in the same run.
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
constexpr size_t kProducts = 500;
const QString kHost = "127.0.0.164";

// What the device announced, so the floors can read replies of the right length.
struct Shape {
  size_t fields = 0, textFields = 0, recordBytes = 0, nameWidth = 0, helpWidth = 0, count = 0;
};

double coreRun(Shape& shape, size_t& exchanges) {
  exchanges = 0;
  const double seconds = coreChain(
      kHost, [](Device& d) { d.products.GetHDProdClick(); },
      [&](Device& d, int code) {
        ++exchanges;
        if (code != 50 || d.products.busy()) return false;
        const ProdStore& s = d.products.store();
        const ParTableStore& t = d.parTables.store();
        shape = {s.structure().fieldCount(),
                 s.structure().textCount(),
                 s.structure().recordWireSize(),
                 t.nameWidth(),
                 t.helpWidth(),
                 s.count()};
        return true;
      });
  return seconds;
}

std::vector<Exchange> downloadExchanges(const Shape& shape) {
  std::vector<Exchange> out;
  TxFrame tx;
  auto add = [&](int code, std::initializer_list<uint8_t> params, size_t payload) {
    tx.begin(code);
    for (uint8_t b : params) tx.put8(b);
    out.push_back(mainExchange(tx.finish(), payload));
  };
  add(61, {}, 35 + shape.textFields);
  for (size_t f = 0; f < shape.fields; ++f)
    add(60, {0, static_cast<uint8_t>(f)}, shape.nameWidth + shape.helpWidth + 15);
  add(50, {0xF4, 0x01}, 4);
  for (size_t n = 0; n < shape.count; ++n)
    add(50, {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)}, shape.recordBytes);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  rwsim::SimProcess sim(kHost, {}, {"--products", "500"});
  if (!sim.ready()) {
    std::fprintf(stderr, "products_bench: rw4000-sim did not start on %s\n", qPrintable(kHost));
    return 1;
  }
  Shape shape;
  size_t exchanges = 0;
  std::vector<double> core;
  FloorRuns floors;
  for (int run = 0; run < kRuns; ++run) {
    core.push_back(coreRun(shape, exchanges));
    if (core.back() < 0 || shape.count != kProducts || exchanges != 2 + shape.fields + kProducts) {
      std::fprintf(stderr, "products_bench: the core did not read %zu products\n", kProducts);
      return 1;
    }
    if (!floors.add(kHost, 47000, downloadExchanges(shape))) {
      std::fprintf(stderr, "products_bench: a floor run failed\n");
      return 1;
    }
  }
  std::printf("full download of %zu products of %zu fields: %zu exchanges, median of %d runs\n",
              kProducts, shape.fields, exchanges, kRuns);
  printAgainstFloors("core (Products chain)", core, floors, static_cast<double>(exchanges));
  return 0;
}
