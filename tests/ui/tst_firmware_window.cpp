// The firmware window driven against rw4000-sim over loopback (127.0.0.214):
// the "FW" button closes the main link, the window takes the device from its
// application into the boot loader, an upload is aborted and started again,
// the written firmware closes the window with OK and the main link comes back.
//
// With VANTOR_SCREENSHOT_DIR set, the window is saved as PNGs for a look by eye.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <memory>

#include "../support/hex_image.h"
#include "app/data_dir.h"
#include "launcher/sim_process.h"
#include "platform/qt_seams.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/panel_bar.h"
#include "ui/tfirm_cont.h"
#include "ui/tqxvantor.h"

using namespace vantor;

class TestFirmwareWindow : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QStringList failures_;

  void save(QWidget& w, const char* name) {
    const QByteArray out = qgetenv("VANTOR_SCREENSHOT_DIR");
    if (out.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(out));
    const QString path = QDir(QString::fromLocal8Bit(out)).filePath(QLatin1String(name));
    if (!w.grab().save(path)) failures_ << "cannot save " + path;
  }
  // Waits inside the window's modal loop; a failure is recorded, not thrown.
  // The events run without pauses (QTest::qWaitFor sleeps between rounds,
  // which would stretch every exchange of the upload).
  bool waitFor(const char* what, const std::function<bool()>& condition, int ms = 10000) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
      if (condition()) loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    check.start(5);
    if (!condition()) loop.exec();
    if (condition()) return true;
    failures_ << QString::fromLatin1(what);
    return false;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    failures_.clear();
    setErrorPresenter(
        [](QWidget*, const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
  }
  void cleanup() {
    setFileChooser({});
    dir_.reset();
  }

  void uploadsFromTheWindowWithAnAbortOnTheWay() {
    rwsim::SimProcess sim(QStringLiteral("127.0.0.214"));
    QVERIFY(sim.ready());
    const QString path = dir_->filePath(QStringLiteral("fw.hex"));
    std::ofstream(path.toStdString(), std::ios::binary) << test::hexImage(64 * 1024);
    setFileChooser([&](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
      if (request.filters != QStringList{QStringLiteral("hex (*.hex)")})
        failures_ << "filters: " + request.filters.join(';');
      return path;
    });

    QtSeams seams;
    TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                   std::string("127.0.0.214")});
    w.device().access.setLevel(3);
    w.device().access.apply();
    w.repaintNow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* callFw = w.findChild<QPushButton*>(QStringLiteral("CallFW"));
    QVERIFY(callFw);
    QCOMPARE(callFw->text(), QStringLiteral("FW"));
    QVERIFY(callFw->isEnabled());
    w.pages()->setCurrentWidget(w.findChild<QWidget*>(QStringLiteral("TabQX7")));
    QTest::qWait(50);  // the page's layout runs
    save(w, "firmware-qx7-page.png");
    w.device().connection.LanOnClick();
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);

    TFirm_cont& fw = w.firmwareWindow();
    QVERIFY(fw.isHidden());
    const auto button = [&](const char* name) {
      return fw.findChild<QPushButton*>(QLatin1String(name));
    };
    const auto edit2 = [&] { return fw.findChild<QLineEdit*>(QStringLiteral("Edit2"))->text(); };
    const auto label = [&](const char* name) {
      return fw.findChild<QLabel*>(QLatin1String(name))->text();
    };
    bool mainLinkClosed = false;
    QTimer::singleShot(0, &w, [&] {
      mainLinkClosed = !w.device().connection.lan2().connected();
      if (!waitFor("the application's version", [&] { return edit2() == "RW4000 APP 3.4"; }))
        return fw.reject();
      if (fw.windowTitle() != "Firmware") failures_ << "title " + fw.windowTitle();
      if (!button("BtBoot")->isEnabled() || button("BtStrt")->isEnabled())
        failures_ << "application: Boot Mode alone should be enabled";
      for (const char* hidden : {"BtWR", "BtGetSt", "BtFW"})
        if (!button(hidden)->isHidden()) failures_ << QString::fromLatin1(hidden) + " shown";
      save(fw, "firmware-application.png");
      QTest::mouseClick(button("BtBoot"), Qt::LeftButton);
      if (!waitFor("the boot loader", [&] { return button("BtStrt")->isEnabled(); }))
        return fw.reject();
      if (edit2() != "QX7 BOOT 2.1") failures_ << "boot version " + edit2();
      // The restart dropped the link: counted in panel 2 (panel 1 is emptied on connect).
      if (fw.findChild<PanelBar*>(QStringLiteral("ErrorBar"))->text(2).toInt() < 1)
        failures_ << "the restart is not counted";

      QTest::mouseClick(button("BtStrt"), Qt::LeftButton);
      if (!waitFor("upload under way", [&] { return fw.upload().linesSent() > 300; }))
        return fw.reject();
      fw.repaintNow();
      if (!label("FwProgress").startsWith("line ") || !label("FwProgress").contains("ETA"))
        failures_ << "progress line " + label("FwProgress");
      save(fw, "firmware-uploading.png");
      QTest::mouseClick(button("BtAbort"), Qt::LeftButton);
      fw.repaintNow();
      if (!label("FwMessage").startsWith("Upload aborted after line"))
        failures_ << "abort message " + label("FwMessage");
      if (!button("BtStrt")->isEnabled() || button("BtAbort")->isEnabled())
        failures_ << "after Abort, Upload alone should be enabled";
      QTest::mouseClick(button("BtStrt"), Qt::LeftButton);  // from the first line again
      // "WRITED" closes the window with OK.
      if (!waitFor(
              "the window closes with OK", [&] { return fw.isHidden(); }, 30000)) {
        const FirmwareUpload& u = fw.upload();
        failures_ << QStringLiteral("state %1, line %2 of %3, Edit2 %4, message %5, log %6")
                         .arg(int(u.state()))
                         .arg(u.linesSent())
                         .arg(u.lineCount())
                         .arg(edit2(), label("FwMessage"),
                              u.log().empty() ? QString() : QString::fromStdString(u.log().back()));
        return fw.reject();
      }
    });
    w.CallFWClick();
    QVERIFY2(failures_.isEmpty(), qPrintable(failures_.join("\n")));
    QVERIFY(mainLinkClosed);
    QCOMPARE(fw.result(), int(QDialog::Accepted));
    QCOMPARE(fw.findChild<QLineEdit*>(QStringLiteral("Edit2"))->text(), QStringLiteral("WRITED"));
    QCOMPARE(fw.findChild<QProgressBar*>(QStringLiteral("ProgressBarFW"))->value(),
             fw.findChild<QProgressBar*>(QStringLiteral("ProgressBarFW"))->maximum());
    // The main link comes back once the application runs again.
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->text(0), QStringLiteral(" RW4000 SIM 8.10"), 10000);
  }

  // Closing the window any other way leaves the main link disconnected.
  void closingWithoutOkLeavesTheMainLinkDown() {
    rwsim::SimProcess sim(QStringLiteral("127.0.0.215"));
    QVERIFY(sim.ready());
    QtSeams seams;
    TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                   std::string("127.0.0.215")});
    w.device().connection.LanOnClick();
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    TFirm_cont& fw = w.firmwareWindow();
    QTimer::singleShot(0, &w, [&] {
      waitFor("the version", [&] {
        return fw.findChild<QLineEdit*>(QStringLiteral("Edit2"))->text() == "RW4000 APP 3.4";
      });
      fw.reject();
    });
    w.CallFWClick();
    QVERIFY2(failures_.isEmpty(), qPrintable(failures_.join("\n")));
    QTest::qWait(300);
    QVERIFY(!w.device().connection.lan2().connected());
    QCOMPARE(w.errorBar()->text(0), QStringLiteral("Sconect Master"));
  }
};

QTEST_MAIN(TestFirmwareWindow)
#include "tst_firmware_window.moc"
