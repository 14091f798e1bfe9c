// The firmware upload's cost per line: a 512 KiB image (about 11 700 Intel HEX
// lines) sent to rw4000-sim's boot loader on loopback, one line per
// acknowledgement, by the tool's core (FirmwareUpload on the Qt seams), by a
// bare Qt event-loop client (the platform floor) and by a blocking socket
// client (the physical floor). Median of five runs each, all in the same run.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "../tests/support/hex_image.h"
#include "firmware/firmware_upload.h"
#include "firmware/intel_hex.h"
#include "launcher/sim_process.h"
#include "platform/qt_seams.h"
#include "support/floor_clients.h"
#include "support/floor_report.h"
#include "support/median.h"

using namespace vantor;
using namespace vantor::bench;

namespace {

constexpr int kRuns = 5;
constexpr size_t kImageBytes = 512 * 1024;
const QString kHost = "127.0.0.216";

// Seconds from "U0" to the write request after the last line; negative on failure.
double coreRun(const std::string& path) {
  QtSeams seams;
  FirmwareUpload fw(seams);
  fw.host = kHost.toStdString();
  QEventLoop loop;
  QElapsedTimer clock;
  double seconds = -1;
  bool started = false;
  Subscription<FirmwareEvent> events(fw.onEvent, [&](FirmwareEvent e) {
    if (e == FirmwareEvent::VersionRead && !started) {
      if (!fw.view().btStrtEnabled) return loop.exit(1);  // not in the boot loader
      started = true;
      clock.start();
      if (!fw.BtStrtClick(path)) loop.exit(1);
    } else if (e == FirmwareEvent::ReplyFailed || e == FirmwareEvent::LinkFailed ||
               e == FirmwareEvent::UploadInterrupted) {
      loop.exit(1);
    }
  });
  Subscription<> changes(fw.onChange, [&] {
    if (started && fw.state() == 'W' && seconds < 0) {
      seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
      loop.exit(0);
    }
  });
  QTimer::singleShot(120000, &loop, [&] { loop.exit(1); });
  fw.FormShow();
  const int code = loop.exec();
  fw.FormClose();
  return code == 0 ? seconds : -1;
}

// Asks the application for boot mode and waits until the boot loader answers.
bool enterBootLoader() {
  if (platformFloor(kHost, kBootLoaderPort, {Exchange{Bytes{'B'}, 1}}) < 0) return false;
  const Bytes version{'F'};
  const size_t bootReply = 1 + std::string("QX7 BOOT 2.1").size();
  // The application answers for a moment more, then the port is closed while
  // the device restarts; past that only the boot loader can answer.
  for (int attempt = 0; attempt < 100; ++attempt) {
    QEventLoop wait;
    QTimer::singleShot(attempt == 0 ? 1000 : 100, &wait, &QEventLoop::quit);
    wait.exec();
    if (physicalFloor(kHost, kBootLoaderPort, {Exchange{version, bootReply}}) >= 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  rwsim::SimProcess sim(kHost);
  if (!sim.ready()) {
    std::fprintf(stderr, "firmware_bench: rw4000-sim did not start on %s\n", qPrintable(kHost));
    return 1;
  }
  QTemporaryDir dir;
  const std::string path = dir.filePath("image.hex").toStdString();
  // 45 data bytes a record: about 11 700 lines.
  const std::string image = test::hexImage(kImageBytes, 45);
  std::ofstream(path, std::ios::binary) << image;
  const auto lines =
      splitFirmwareLines(ByteView(reinterpret_cast<const uint8_t*>(image.data()), image.size()));

  std::vector<Exchange> exchanges{Exchange{Bytes{'U', '0'}, 1}};
  for (const FirmwareLine& line : lines)
    exchanges.push_back(Exchange{Bytes(line.text.begin(), line.text.end()), 1});

  if (!enterBootLoader()) {
    std::fprintf(stderr, "firmware_bench: the boot loader did not come up\n");
    return 1;
  }
  std::vector<double> core;
  FloorRuns floors;
  for (int run = 0; run < kRuns; ++run) {
    core.push_back(coreRun(path));
    if (core.back() < 0 || !floors.add(kHost, kBootLoaderPort, exchanges)) {
      std::fprintf(stderr, "firmware_bench: a run failed\n");
      return 1;
    }
  }
  const double n = static_cast<double>(exchanges.size());
  const double perCore = n / median(core);
  const double perPlatform = n / median(floors.platform);
  const double perPhysical = n / median(floors.physical);
  std::printf("%zu lines of a %zu KiB image (with \"U0\"), median of %d runs\n", exchanges.size(),
              kImageBytes / 1024, kRuns);
  std::printf("core upload       %9.0f lines per second\n", perCore);
  std::printf("platform floor    %9.0f lines per second\n", perPlatform);
  std::printf("physical floor    %9.0f lines per second\n", perPhysical);
  std::printf("core / platform   %9.3f time per line (target at most 1.15)\n",
              perPlatform / perCore);
  std::printf("core / physical   %9.3f time per line\n", perPhysical / perCore);
  return 0;
}
