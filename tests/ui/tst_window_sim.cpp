// The window against rw4000-sim over real loopback sockets: connect, the
// version and the live status arrive and are shown, the poll mode "Deb" keeps
// them coming, a refused main port counts errors. The simulator runs as a
// child process on this test's own 127.0.0.N and is stopped by its handle.
//
// With VANTOR_SCREENSHOT_DIR set, the window is also saved as PNGs at level 0
// and at level 4 (Deb page) for a look by eye.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "launcher/sim_process.h"
#include "platform/qt_seams.h"
#include "ui/guarded.h"
#include "ui/panel_bar.h"
#include "ui/qx7_page.h"
#include "ui/tqxvantor.h"

using namespace vantor;

using Simulator = rwsim::SimProcess;

class TestWindowSim : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;

  void save(QWidget& w, const char* name) {
    const QByteArray out = qgetenv("VANTOR_SCREENSHOT_DIR");
    if (out.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(out));
    const QString path = QDir(QString::fromLocal8Bit(out)).filePath(QLatin1String(name));
    QVERIFY2(w.grab().save(path), qPrintable(path));
    qInfo("screenshot %s", qPrintable(path));
  }
  template <typename T = QWidget>
  T* find(TQXVantor& w, const char* name) {
    return w.findChild<T*>(QLatin1String(name));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    setErrorPresenter(
        [](QWidget*, const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
  }
  void cleanup() { dir_.reset(); }

  void connectsAndShowsTheLiveStatus() {
    Simulator sim(QStringLiteral("127.0.0.51"));
    QVERIFY(sim.ready());
    {
      QtSeams seams;
      TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                     std::string("127.0.0.51")});
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
      QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->text(0), QStringLiteral(" RW4000 SIM 8.10"), 10000);
      QTRY_VERIFY_WITH_TIMEOUT(w.statusBar()->text(1).startsWith(QStringLiteral("Ls ")), 10000);
      QVERIFY(!find<QLineEdit>(w, "ComStat")->text().isEmpty());
      QVERIFY(!find<QLineEdit>(w, "Peso")->text().isEmpty());
      QCOMPARE(w.errorBar()->text(6), QString());  // no socket error
      save(w, "vantor-level0.png");

      // Level 4 through the password dialog: the debug page and the poll mode.
      bool answered = false;
      QTimer::singleShot(0, &w, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("Password")),
                         QStringLiteral("Velmor"));
        save(*dialog, "vantor-password.png");
        dialog->accept();
        answered = true;
      });
      w.FormDblClick();
      QVERIFY(answered);
      w.repaintNow();
      QCOMPARE(w.statusBar()->text(2), QStringLiteral("$$$"));
      // "Deb" polls the status every second.
      QTest::mouseClick(find<QRadioButton>(w, "SelAutoDeb"), Qt::LeftButton);
      const QString first = w.statusBar()->text(1);
      QTRY_VERIFY_WITH_TIMEOUT(w.statusBar()->text(1) != first, 10000);  // T counts seconds
      w.pages()->setCurrentWidget(find(w, "Deb"));
      QTRY_VERIFY_WITH_TIMEOUT(!find<QLineEdit>(w, "SlComPr")->text().isEmpty(), 5000);
      save(w, "vantor-level4-deb.png");
      w.pages()->setCurrentWidget(find(w, "TabQX7"));
      save(w, "vantor-level4-qx7.png");

      QTest::mouseClick(find<QPushButton>(w, "LanOff"), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Sconect Master"), 5000);
      QCOMPARE(w.device().access.level(), 4);  // level 4 survives the disconnect
    }
    QCOMPARE(sim.stop(), 0);
  }

  // The tables arrive by themselves after the version; a value typed into the
  // grid's editor goes out with "Save Tab" and comes back with "Read Tab"; a
  // block Get fills its grid.
  void theSystemPagesAgainstTheSimulator() {
    Simulator sim(QStringLiteral("127.0.0.53"));
    QVERIFY(sim.ready());
    QtSeams seams;
    TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                   std::string("127.0.0.53")});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.device().access.passwordDialogClosed("Velmor");
    QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
    auto* list = find<QComboBox>(w, "ListTabs");
    auto* grid = find<QTableWidget>(w, "GridParTabs");
    QTRY_VERIFY_WITH_TIMEOUT(list->count() > 0 && list->currentIndex() == 0 && grid->rowCount() > 0,
                             15000);
    QTRY_COMPARE_WITH_TIMEOUT(find<QLabel>(w, "ParProgress")->text(), QString(), 15000);
    QVERIFY(!find(w, "PanelSave")->isHidden());
    const int row = 1;
    ParDescriptor& d = w.device().parTables.store().table(0).params[row];
    const uint32_t before = d.value;
    const uint32_t wanted = before == d.min ? d.max : d.min;  // another value within the limits
    bool saved = false;
    const auto watch = w.device().channel.onReply.connect(
        [&saved](int code, ByteView) { saved = saved || code == 63; });
    grid->setCurrentCell(row, 1);
    grid->editItem(grid->item(row, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, 1)));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QString::number(wanted));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::mouseClick(find<QPushButton>(w, "SavePar"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(saved, 10000);
    w.device().channel.onReply.disconnect(watch);
    // Forget the value here: only the device's answer to "Read Tab" brings it back.
    d.value = before;
    w.device().parTables.showTable(0);
    w.repaintNow();
    QCOMPARE(grid->item(row, 1)->text(), QString::number(before));
    QTest::mouseClick(find<QPushButton>(w, "GetTab"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(grid->item(row, 1)->text(), QString::number(wanted), 10000);

    w.pages()->setCurrentWidget(find(w, "System"));
    QTest::mouseClick(find<QPushButton>(w, "GetComm"), Qt::LeftButton);
    auto* comm = find<QTableWidget>(w, "CommPar");
    QTRY_VERIFY_WITH_TIMEOUT(!comm->item(0, 1)->text().isEmpty(), 10000);
    QVERIFY(comm->item(comm->rowCount() - 1, 1)->text().toLongLong() >= 0);
    save(w, "vantor-systembin.png");
    QCOMPARE(sim.stop(), 0);
  }

  void aRefusedMainPortCountsAndRetries() {
    Simulator sim(QStringLiteral("127.0.0.52"), {QStringLiteral("refuse")});
    QVERIFY(sim.ready());
    {
      QtSeams seams;
      TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                     std::string("127.0.0.52")});
      QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(1), QStringLiteral("Fail Master"), 10000);
      QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(6), QStringLiteral("2"),
                                10000);  // retried after 1 s
      QTest::mouseClick(find<QPushButton>(w, "LanOff"), Qt::LeftButton);
    }
    QCOMPARE(sim.stop(), 0);
  }

  void aStoppedSimulatorIsRetriedEverySecondAndReconnectedWhenBack() {
    const QString host = QStringLiteral("127.0.0.49");
    auto sim = std::make_unique<Simulator>(host);
    QVERIFY(sim->ready());
    QtSeams seams;
    TQXVantor w(seams,
                WindowStart{withTrailingSlash(dir_->path().toStdString()), host.toStdString()});
    QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    QCOMPARE(sim->stop(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(1), QStringLiteral("Fail Master"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Sconect Master"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(6), QStringLiteral("2"),
                              10000);  // a retry a second
    sim = std::make_unique<Simulator>(host);
    QVERIFY(sim->ready());
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->text(0), QStringLiteral(" RW4000 SIM 8.10"), 10000);
    QTest::mouseClick(find<QPushButton>(w, "LanOff"), Qt::LeftButton);
  }

  // Every fault of the device ends in a clear message in the bottom bar, and the
  // window works again by itself once the fault is cleared.
  void everyFaultIsShownAndTheWindowRecoversWhenItIsCleared_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("text");
    QTest::newRow("corrupt") << "corrupt" << 1 << "NET_ERR_CHK";
    QTest::newRow("nak") << "nak" << 1 << "NAK";
    QTest::newRow("short") << "short" << 1 << "Short reply 51: 0 of 56 bytes";
    QTest::newRow("silent") << "silent" << 0 << "No reply";
    QTest::newRow("drop") << "drop" << 1 << "Fail Master";
  }
  void everyFaultIsShownAndTheWindowRecoversWhenItIsCleared() {
    QFETCH(QString, fault);
    QFETCH(int, panel);
    QFETCH(QString, text);
    const QString host = QStringLiteral("127.0.0.156");
    Simulator sim(host);
    QVERIFY(sim.ready());
    QtSeams seams;
    TQXVantor w(seams,
                WindowStart{withTrailingSlash(dir_->path().toStdString()), host.toStdString()});
    QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(w.statusBar()->text(1).startsWith(QStringLiteral("Ls ")), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!w.device().parTables.busy(), 15000);  // the automatic table read
    w.device().connection.SelAutoClick(PollMode::Deb);              // a status request every second
    sim.control("fault " + fault);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(panel), text, 15000);
    sim.control(QStringLiteral("clear"));
    // Working again: connected, and the status line moves on (T counts seconds).
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 15000);
    const QString now = w.statusBar()->text(1);
    QTRY_VERIFY_WITH_TIMEOUT(w.statusBar()->text(1) != now, 15000);
    QTest::mouseClick(find<QPushButton>(w, "LanOff"), Qt::LeftButton);
  }

  // The remote terminal against the simulator: keys by mouse and keyboard walk
  // its menu, the screen follows and the status poll moves LnMenu and BrMenu;
  // the QX3 panel and the clock answer.
  void theTerminalPageAgainstTheSimulator() {
    Simulator sim(QStringLiteral("127.0.0.226"));
    QVERIFY(sim.ready());
    QtSeams seams;
    TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                   std::string("127.0.0.226")});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.device().access.passwordDialogClosed("Velmor");
    QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!w.device().parTables.busy(), 15000);
    w.device().connection.SelAutoClick(PollMode::Deb);
    w.pages()->setCurrentWidget(find(w, "TabQX7"));
    auto* memo = find<QPlainTextEdit>(w, "Memo4");
    QTest::mouseClick(find<QPushButton>(w, "Button4"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(memo->toPlainText().startsWith("RW4000 SIM   Menu principal"), 10000);
    QTest::mouseClick(find<QPushButton>(w, "Key_Dw"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(memo->toPlainText().contains("> 2 Velocidade"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(find(w, "KeyPanel")->isEnabled(), 10000);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Down);
    QTRY_VERIFY_WITH_TIMEOUT(memo->toPlainText().contains("> 3 Pesagem"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(w.qx7Page().lnMenuIndex(), 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(find(w, "KeyPanel")->isEnabled(), 10000);
    QTest::keyClick(memo, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(memo->toPlainText().startsWith("Pesagem\n"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(w.qx7Page().brMenuIndex(), 1, 10000);

    QTest::mouseClick(find<QPushButton>(w, "GetTime"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d \\d\\d-\\d\\d-\\d{4}$")
                                 .match(find<QLineEdit>(w, "DateStr")->text())
                                 .hasMatch(),
                             10000);
    save(w, "vantor-qx7.png");

    w.pages()->setCurrentWidget(find(w, "PesoPage"));
    auto* list = find<QComboBox>(w, "CmdList");
    list->setCurrentIndex(list->findText("VER - Firmware Revision"));
    QTest::mouseClick(find<QPushButton>(w, "GetStPar"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(find<QLineEdit>(w, "QX3Par")->text(), QStringLiteral("QX3 SIM V1.07"),
                              10000);
    QTest::mouseClick(find<QPushButton>(w, "LanOff"), Qt::LeftButton);
  }

  // The line simulator against the simulator: the products arrive, the chosen
  // product's code numbers the barcodes, and the barcode sent shows in the
  // device's status flags.
  void simBoxSendsABarcodeTheDeviceReports() {
    Simulator sim(QStringLiteral("127.0.0.232"));
    QVERIFY(sim.ready());
    {
      QtSeams seams;
      TQXVantor w(seams, WindowStart{withTrailingSlash(dir_->path().toStdString()),
                                     std::string("127.0.0.232")});
      w.resize(1024, 600);
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      w.device().access.passwordDialogClosed("Velmor");
      w.repaintNow();
      QTest::mouseClick(find<QPushButton>(w, "LanOn"), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(w.errorBar()->text(0), QStringLiteral("Conect Master"), 10000);
      w.pages()->setCurrentWidget(find(w, "TabProduto"));
      QTRY_VERIFY_WITH_TIMEOUT(w.device().tablesLoaded, 10000);
      QTest::mouseClick(find<QPushButton>(w, "GetHDProd"), Qt::LeftButton);
      QTRY_VERIFY_WITH_TIMEOUT(
          w.device().products.store().count() > 1 && !w.device().products.busy(), 20000);
      auto* list = find<QComboBox>(w, "ListBoxProd");
      list->setCurrentIndex(1);
      emit list->activated(1);
      w.repaintNow();
      const QString code = find<QLineEdit>(w, "Edit1")->text();
      QVERIFY(!code.isEmpty());
      find<QCheckBox>(w, "SeqSer")->setChecked(true);
      QTest::mouseClick(find<QPushButton>(w, "SetBar0"), Qt::LeftButton);
      w.repaintNow();
      QCOMPARE(find<QLineEdit>(w, "BarCode0")->text(), code + "00000001");
      QTest::mouseClick(find<QRadioButton>(w, "SelAutoDeb"), Qt::LeftButton);
      QTRY_COMPARE_WITH_TIMEOUT(find<QLineEdit>(w, "ComStat")->text(), QStringLiteral("1 1 0 0"),
                                10000);
      save(w, "vantor-level4-simbox.png");
      QTest::mouseClick(find<QPushButton>(w, "LanOff"), Qt::LeftButton);
    }
    QCOMPARE(sim.stop(), 0);
  }
};

QTEST_MAIN(TestWindowSim)
#include "tst_window_sim.moc"
