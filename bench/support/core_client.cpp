#include "support/core_client.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "platform/qt_seams.h"

namespace vantor::bench {

double coreChain(const QString& host, const std::function<void(Device&)>& start,
                 const std::function<bool(Device&, int code)>& done) {
  QtSeams seams;
  Device device(seams);
  QEventLoop loop;
  QElapsedTimer clock;
  bool started = false;
  double seconds = -1;
  device.connection.hooks.mainFailed.connect([&](const std::string&) { loop.exit(1); });
  device.channel.onReply.connect([&](int code, ByteView) {
    if (!started) {
      if (device.channel.queue().size() != 0) return;
      started = true;
      clock.start();
      start(device);
      return;
    }
    if (done(device, code)) {
      seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
      loop.quit();
    }
  });

  QTimer::singleShot(120000, &loop, [&] { loop.exit(1); });
  device.connection.controls.host = host.toStdString();
  device.connection.LanOnClick();
  const int rc = loop.exec();
  device.connection.LanOffClick();
  return rc == 0 ? seconds : -1;
}

}  // namespace vantor::bench
