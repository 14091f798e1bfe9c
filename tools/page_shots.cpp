// page_shots HOST OUTDIR: opens the window on the device at HOST at access
// level 4, waits until the version and the parameter tables have arrived,
// reads the products, the user accounts and the system block, then saves the
// whole window with each page in front as OUTDIR/page-NAME.png.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <functional>

#include "app/data_dir.h"
#include "platform/qt_seams.h"
#include "ui/panel_bar.h"
#include "ui/tqxvantor.h"

using namespace vantor;

namespace {

// Runs the event loop until `done` holds or `ms` have passed; says which.
bool waitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(10);
  }
  return true;
}

void settle(int ms) {
  waitFor([] { return false; }, ms);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: page_shots HOST OUTDIR\n", stderr);
    return 2;
  }
  const std::string host = argv[1];
  const QString outDir = QString::fromLocal8Bit(argv[2]);
  QTemporaryDir data;
  if (!data.isValid() || !QDir().mkpath(outDir)) {
    std::fputs("page_shots: cannot make the folders\n", stderr);
    return 1;
  }
  QtSeams seams;
  TQXVantor window(seams, WindowStart{withTrailingSlash(data.path().toStdString()), host});
  window.resize(1024, 720);
  window.show();
  window.device().access.passwordDialogClosed("Velmor");
  window.findChild<QPushButton*>(QStringLiteral("LanOn"))->click();
  if (!waitFor([&] { return !window.statusBar()->text(0).isEmpty(); }, 15000)) {
    std::fprintf(stderr, "page_shots: no answer from %s\n", host.c_str());
    return 1;
  }
  // The parameter tables arrive by themselves after the version.
  auto* progress = window.findChild<QLabel*>(QStringLiteral("ParProgress"));
  auto* tables = window.findChild<QComboBox*>(QStringLiteral("ListTabs"));
  if (!waitFor([&] { return tables->count() > 0 && progress->text().isEmpty(); }, 30000)) {
    std::fputs("page_shots: the parameter tables did not arrive\n", stderr);
  }
  // The pages that read on demand read once, so that they show the device's values.
  for (const char* button : {"GetHDProd", "GetLogin", "GetSys"}) {
    auto* read = window.findChild<QPushButton*>(QLatin1String(button));
    if (read && read->isEnabled()) read->click();
    settle(700);
  }
  settle(500);

  QTabWidget* pages = window.pages();
  int failed = 0;
  for (int i = 0; i < pages->count(); ++i) {
    pages->setCurrentIndex(i);
    window.repaintNow();
    settle(400);
    const QString name = pages->widget(i)->objectName();
    const QString path = QDir(outDir).filePath(QStringLiteral("page-%1.png").arg(name));
    if (window.grab().save(path)) {
      std::printf("%s\n", qPrintable(path));
    } else {
      std::fprintf(stderr, "page_shots: cannot write %s\n", qPrintable(path));
      ++failed;
    }
  }
  return failed == 0 ? 0 : 1;
}
