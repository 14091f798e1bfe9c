// The event-log download: the base address (69) and 501 blocks of 1000 bytes
// (21) from rw4000-sim holding 100 000 events. Timed for the tool's core (the
// EventLog chain, each block's reply queueing the next request) and for the
// platform-floor and physical-floor clients doing the same 502 exchanges with
// the same bytes; then the decode and the file write of the 100 000
// events on their own. Median of five runs each, all in the same run.
//
// The download is timed from "Get LOG" to the arrival of the last block; the
// decode and write are timed alone, on the image just downloaded.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "launcher/sim_process.h"
#include "link/tx_frame.h"
#include "support/core_client.h"
#include "support/floor_clients.h"
#include "support/floor_report.h"
#include "support/median.h"

using namespace vantor;
using namespace vantor::bench;

namespace {

constexpr int kRuns = 5;
constexpr uint32_t kSimLogBase = 0x20100000;  // where rw4000-sim keeps its log area
const QString kHost = "127.0.0.189";

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct CoreRun {
  double download = -1;  // from "Get LOG" to the arrival of the last block
  double decodeWrite = -1;
  int32_t events = -1;
};

CoreRun coreRun(const std::string& path) {
  CoreRun run;
  std::chrono::steady_clock::time_point begun, lastBlock;
  double writeAlone = -1;
  const double chain = coreChain(
      kHost,
      [&](Device& d) {
        d.eventLog.setFilePath(path);
        begun = std::chrono::steady_clock::now();
        // Told of each good reply before it is handled: the one after the
        // 500th block is the last block, whose handler decodes and writes.
        d.channel.onGoodReply.connect([&d, &lastBlock] {
          if (d.eventLog.controls.downloading && d.eventLog.blocksReceived() == kLogBlocks - 1)
            lastBlock = std::chrono::steady_clock::now();
        });
        d.eventLog.GetLogClick();
      },
      [&](Device& d, int code) {
        if (code != 21 || d.eventLog.controls.downloading) return false;
        run.events = d.eventLog.lastCount().used;
        const auto t0 = std::chrono::steady_clock::now();
        if (d.eventLog.writeFile()) writeAlone = seconds(t0);
        return true;
      });
  if (chain < 0 || writeAlone < 0 || lastBlock <= begun) return run;
  run.download = std::chrono::duration<double>(lastBlock - begun).count();
  run.decodeWrite = writeAlone;
  return run;
}

std::vector<Exchange> blockExchanges() {
  std::vector<Exchange> out;
  TxFrame tx;
  tx.begin(69);
  out.push_back(mainExchange(tx.finish(), 8));
  for (uint32_t b = 0; b < kLogBlocks; ++b) {
    tx.begin(21);
    tx.put32(kSimLogBase + b * static_cast<uint32_t>(kLogBlockBytes));
    out.push_back(mainExchange(tx.finish(), kLogBlockBytes));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  rwsim::SimProcess sim(kHost, {}, {"--log-events", "100000"});
  if (!sim.ready()) {
    std::fprintf(stderr, "log_bench: rw4000-sim did not start on %s\n", qPrintable(kHost));
    return 1;
  }
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("bench.log")).toStdString();
  const std::vector<Exchange> exchanges = blockExchanges();
  std::vector<double> core, decode;
  FloorRuns floors;
  for (int run = 0; run < kRuns; ++run) {
    const CoreRun c = coreRun(path);
    if (c.download < 0 || c.events != kLogMaxEvents) {
      std::fprintf(stderr, "log_bench: the core did not download %d events\n", kLogMaxEvents);
      return 1;
    }
    core.push_back(c.download);
    decode.push_back(c.decodeWrite);
    if (!floors.add(kHost, 47000, exchanges)) {
      std::fprintf(stderr, "log_bench: a floor run failed\n");
      return 1;
    }
  }
  std::printf("event log of %d events: %u exchanges (69 and %u blocks), median of %d runs\n",
              kLogMaxEvents, kLogBlocks + 1, kLogBlocks, kRuns);
  printAgainstFloors("core (EventLog chain)", core, floors, kLogBlocks + 1);
  std::printf("decode and write       %8.2f ms (target at most 100)\n", median(decode) * 1e3);
  return 0;
}
