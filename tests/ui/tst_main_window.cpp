// The main window with fake sockets and timers: access levels and the table,
// the password dialog, the settings file, the error bar, and the read-outs
// that the replies fill.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <memory>
#include <set>

#include "access/access_table.h"
#include "app/data_dir.h"
#include "app/settings_file.h"
#include "fakes.h"
#include "ui/access_applier.h"
#include "ui/confirm.h"
#include "ui/guarded.h"
#include "ui/panel_bar.h"
#include "ui/qx7_page.h"
#include "ui/tqxvantor.h"
#include "ui/tsgnf.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::replyFrame;
using vantor::test::WindowFixture;

namespace {

Bytes statusPayload() {
  Bytes p(56, 0);
  p[0] = 1, p[1] = 2, p[2] = 3, p[3] = 200;  // ComStat
  p[4] = 0x10;                               // T = 16
  p[8] = 0x2C, p[9] = 0x01;                  // Ls = 300
  p[12] = 7, p[13] = 9;                      // Rs, St
  p[14] = 20, p[15] = 200;                   // beyond the last items
  p[16] = 0xAB, p[17] = 0x0C, p[18] = 0, p[19] = 0xFF;
  for (int i = 20; i < 24; ++i) p[static_cast<size_t>(i)] = 0xFF;  // weight 1 = -1
  p[24] = 100;                                                     // weight 2 = 100
  p[44] = 0xFF, p[45] = 0xFF;                                      // weighing time 65535
  for (int i = 46; i < 50; ++i) p[static_cast<size_t>(i)] = 0xFF;  // error flags 4294967295
  p[52] = 0xAB, p[53] = 1, p[54] = 0, p[55] = 0x1F;
  return p;
}

QString q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

class TestMainWindow : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  // Renames the window's control of a name of the access table, so a test can
  // bring a control of that name of its own.
  void setAside(const char* name) {
    QWidget* own = find(name);
    QVERIFY(own);
    own->setObjectName(QLatin1String(name) + QStringLiteral("SetAside"));
  }
  bool pageShown(const char* name) {
    QTabWidget* pages = w_->pages();
    for (int i = 0; i < pages->count(); ++i)
      if (pages->widget(i)->objectName() == QLatin1String(name)) return pages->isTabVisible(i);
    qWarning("no page %s", name);
    return false;
  }
  // Double click: the dialog opens; type the text and close it with OK or Cancel.
  void loginWith(const QString& password, bool ok = true) {
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<TSgnF*>(QApplication::activeModalWidget());
      if (!dialog) return;
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Password Dialog"));
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Password"));
      QVERIFY(edit->text().isEmpty());  // FormShow empties it
      QCOMPARE(edit->echoMode(), QLineEdit::Password);
      QTest::keyClicks(edit, password);
      auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("Buttons"));
      QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                        Qt::LeftButton);
      answered = true;
    });
    QTimer::singleShot(5000, this, [] {  // never hang on a dialog that was not answered
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    w_->FormDblClick();
    QVERIFY(answered);
    w_->repaintNow();
  }
  QPoint freeAreaOfTopRow() {
    const QRect r = find("TopRow")->geometry();
    return QPoint(r.right() - 3, r.center().y());
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    seams_ = std::make_unique<FakeSeams>();
    seams_->clockImpl.local = {2026, 12, 10, 10, 30, 0};
    setErrorPresenter(
        [](QWidget*, const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
    setConfirmPresenter([](QWidget*, const Confirmation&) { return true; });
  }
  void cleanup() {
    w_.reset();
    seams_.reset();
    dir_.reset();
    setConfirmPresenter(nullptr);
  }

  void layoutOfTheWindow() {
    openWindow();
    QCOMPARE(w_->windowTitle(), QStringLiteral("RW4000 Vantor8.10"));
    QCOMPARE(w_->objectName(), QStringLiteral("QXVantor"));
    const QStringList names = {"System2", "TabProduto", "PesoPage", "TabQX7", "TabPrinter",
                               "Login",   "Reg",        "System",   "Deb"};
    const QStringList titles = {"System", "Produto",        "PesoPage",  "QX7", "Printer",
                                "Login",  "Sim Integrador", "SystemBin", "Deb"};
    QCOMPARE(w_->pages()->count(), 9);
    for (int i = 0; i < 9; ++i) {
      QCOMPARE(w_->pages()->widget(i)->objectName(), names[i]);
      QCOMPARE(w_->pages()->tabText(i), titles[i]);
    }
    QCOMPARE(w_->statusBar()->count(), 3);
    QCOMPARE(w_->errorBar()->count(), 7);
    QCOMPARE(find<QPushButton>("LanOn")->text(), QStringLiteral("Connect"));
    QCOMPARE(find<QPushButton>("LanOff")->text(), QStringLiteral("Disconnect"));
    QCOMPARE(find<QCheckBox>("RecOpen")->text(), QStringLiteral("Open 49000"));
    QCOMPARE(find<QCheckBox>("MobOpen")->text(), QStringLiteral("Open 46000"));
    QCOMPARE(find<QLabel>("Label3")->text(), QStringLiteral("1000"));
    auto* speed = find<QSlider>("SpeedClk");
    QCOMPARE(speed->minimum(), 250);
    QCOMPARE(speed->maximum(), 2000);
    QCOMPARE(speed->value(), 1000);
    QVERIFY(find<QRadioButton>("SelAutoOff")->isChecked());
    QCOMPARE(find<QLineEdit>("Host")->text(), QString::fromLatin1(kDefaultDeviceHost));
    QVERIFY(!find<QPushButton>("SendCMD")->isEnabled());
    QCOMPARE(find<QLineEdit>("MsgS")->text(), QStringLiteral("1"));
    QCOMPARE(find<QLabel>("Label2")->text(), QStringLiteral("Error flag"));
  }

  void startsAtLevelZero() {
    openWindow();
    QCOMPARE(w_->device().access.level(), 0);
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("NO USER"));
    for (const char* page : {"System2", "TabProduto", "PesoPage"}) QVERIFY2(pageShown(page), page);
    for (const char* page : {"TabQX7", "TabPrinter", "Login", "Reg", "System", "Deb"})
      QVERIFY2(!pageShown(page), page);
    for (const char* c : {"Reset", "RecOpen", "MobOpen", "SpeedClk", "Label3"})
      QVERIFY2(find(c)->isHidden(), c);
    QVERIFY(!find("SelAuto")->isEnabled());
  }

  // Every row of the access table (all of them are live, see below), at every level.
  void accessTableAtEveryLevel_data() {
    QTest::addColumn<int>("level");
    for (int level = 0; level <= 4; ++level) QTest::addRow("level %d", level) << level;
  }
  void accessTableAtEveryLevel() {
    QFETCH(int, level);
    openWindow();
    setLevel(static_cast<uint8_t>(level));
    QCOMPARE(w_->statusBar()->text(2), q(accessLevelName(static_cast<uint8_t>(level))));
    for (const AccessRow* row : w_->accessApplier().liveRows()) {
      const QByteArray name(row->control.data(), static_cast<qsizetype>(row->control.size()));
      const bool granted = level >= row->threshold;
      switch (row->effect) {
        case AccessEffect::Page:
          QCOMPARE(pageShown(name.constData()), granted);
          break;
        case AccessEffect::Enabled:
          QCOMPARE(find(name.constData())->isEnabled(), granted);
          break;
        case AccessEffect::Visible:
          QCOMPARE(!find(name.constData())->isHidden(), granted);
          break;
      }
    }
  }

  // Every row of the access table has its control in the window: a row
  // without a widget, or a control named twice, fails here.
  void everyAccessRowIsLive() {
    openWindow();
    std::set<std::string_view> live, all;
    for (const AccessRow* row : w_->accessApplier().liveRows()) live.insert(row->control);
    for (const AccessRow& row : accessTable()) all.insert(row.control);
    QCOMPARE(live, all);
    QVERIFY(w_->accessApplier().missingRows().empty());
    const std::vector<QString> twice = w_->accessApplier().duplicateNames();
    QVERIFY2(twice.empty(), qPrintable("controls named twice: " +
                                       QStringList(twice.begin(), twice.end()).join(", ")));
  }

  // A window or dialog created after the main window registers its root: its
  // controls take the level applied last at once and every level after it.
  void aRegisteredWindowFollowsTheLevel() {
    openWindow();
    // The window's own controls of these names step aside: the ones below are
    // then the only ones, whose liveness follows their windows.
    setAside("SetEEprom");
    setAside("AutoFill");
    setLevel(2);
    QWidget firmware;  // a window of its own, no parent
    auto* eeprom = new QPushButton(&firmware);
    eeprom->setObjectName(QStringLiteral("SetEEprom"));  // enabled from level 1
    auto* dialog = new QDialog(w_.get());                // a dialog of the main window
    auto* autoFill = new QPushButton(dialog);
    autoFill->setObjectName(QStringLiteral("AutoFill"));  // shown from level 4
    autoFill->hide();
    eeprom->setEnabled(false);

    w_->accessApplier().addRoot(&firmware);
    w_->accessApplier().addRoot(dialog);
    QVERIFY(eeprom->isEnabled());
    QVERIFY(autoFill->isHidden());
    for (int level = 0; level <= 4; ++level) {
      setLevel(static_cast<uint8_t>(level));
      QCOMPARE(eeprom->isEnabled(), level >= 1);
      QCOMPARE(!autoFill->isHidden(), level >= 4);
    }
    // Found through the main window and through its own registration: one control.
    QVERIFY(w_->accessApplier().duplicateNames().empty());
    std::set<std::string_view> live;
    for (const AccessRow* row : w_->accessApplier().liveRows()) live.insert(row->control);
    QVERIFY(live.count("SetEEprom") && live.count("AutoFill"));

    delete dialog;
    live.clear();
    for (const AccessRow* row : w_->accessApplier().liveRows()) live.insert(row->control);
    QVERIFY(live.count("SetEEprom") && !live.count("AutoFill"));
    setLevel(0);
    QVERIFY(!eeprom->isEnabled());
  }

  // Two controls of one name: both are set, and the name is reported.
  void aNameCarriedTwiceIsReported() {
    openWindow();
    QWidget other;
    auto* reset = new QPushButton(&other);
    reset->setObjectName(QStringLiteral("Reset"));  // as the window's own, shown from level 3
    QTest::ignoreMessage(QtWarningMsg, "access table: 2 controls are named Reset");
    w_->accessApplier().addRoot(&other);
    QCOMPARE(w_->accessApplier().duplicateNames(), std::vector<QString>{QStringLiteral("Reset")});
    QTest::ignoreMessage(QtWarningMsg, "access table: 2 controls are named Reset");
    setLevel(3);
    QVERIFY(!reset->isHidden());
    QVERIFY(!find("Reset")->isHidden());
    QTest::ignoreMessage(QtWarningMsg, "access table: 2 controls are named Reset");
    setLevel(2);
    QVERIFY(reset->isHidden());
    QVERIFY(find("Reset")->isHidden());
  }

  // A control that a page gets after the window was built is set by the next
  // level applied like those of the window's forms.
  void aControlAddedLaterIsSetAtTheNextLevel() {
    openWindow();
    setLevel(0);
    setAside("SetEEprom");
    auto* later = new QPushButton(find("System2"));
    later->setObjectName(QStringLiteral("SetEEprom"));  // enabled from level 1
    QVERIFY(later->isEnabled());
    setLevel(1);
    QVERIFY(later->isEnabled());
    setLevel(0);
    QVERIFY(!later->isEnabled());
  }

  void loginWithTheBuiltInCodeGivesLevel4() {
    openWindow();
    loginWith(QStringLiteral("Velmor"));
    QCOMPARE(w_->device().access.level(), 4);
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("$$$"));
    QVERIFY(pageShown("Deb"));
    QVERIFY(pageShown("System"));
    QVERIFY(find("SelAuto")->isEnabled());
  }

  void cancelStillComparesTheText() {
    openWindow();
    loginWith(QStringLiteral("Velmor"), false);
    QCOMPARE(w_->device().access.level(), 4);
  }

  void wrongPasswordStaysAtZeroSilently() {
    openWindow();
    loginWith(QStringLiteral("velmor"));
    QCOMPARE(w_->device().access.level(), 0);
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("NO USER"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);  // the dialog does not reopen
  }

  void deviceCodeOfLevel2ShowsPrinterAndLoginOnly() {
    openWindow();
    w_->device().access.setDeviceCodes("op1", "mnt2", "srv3");
    loginWith(QStringLiteral("mnt2"));
    QCOMPARE(w_->device().access.level(), 2);
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("MAINTENANCE USER"));
    QVERIFY(pageShown("TabQX7"));
    QVERIFY(pageShown("TabPrinter"));
    QVERIFY(pageShown("Login"));
    QVERIFY(!pageShown("Reg"));
    QVERIFY(find("Reset")->isHidden());
  }

  void doubleClickOnTheFreeAreaLogsInAndOut() {
    openWindow();
    const QPoint free = freeAreaOfTopRow();
    QCOMPARE(w_->childAt(free), find("TopRow"));

    bool asked = false;
    QTimer::singleShot(0, this, [&] {
      if (auto* dialog = qobject_cast<TSgnF*>(QApplication::activeModalWidget())) {
        asked = true;
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("Password")),
                         QStringLiteral("Velmor"));
        dialog->accept();
      }
    });
    QTest::mouseDClick(w_.get(), Qt::LeftButton, {}, free);
    QVERIFY(asked);
    w_->repaintNow();
    QCOMPARE(w_->device().access.level(), 4);

    // At level 4 the top row shows all its controls and still has a free area;
    // there a double click logs out without a dialog.
    const QPoint free4 = freeAreaOfTopRow();
    QCOMPARE(w_->childAt(free4), find("TopRow"));
    QTest::mouseDClick(w_.get(), Qt::LeftButton, {}, free4);
    w_->repaintNow();
    QCOMPARE(w_->device().access.level(), 0);
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("NO USER"));
    QVERIFY(!pageShown("TabQX7"));
  }

  void doubleClickOnAControlIsNotALogin() {
    openWindow();
    setLevel(2);
    QWidget* button = find("LanOn");
    QTest::mouseDClick(w_.get(), Qt::LeftButton, {},
                       button->mapTo(w_.get(), button->rect().center()));
    QCOMPARE(w_->device().access.level(), 2);
  }

  void disconnectDropsLevels1To3AndKeeps4() {
    openWindow();
    w_->device().connection.controls.host = "127.0.0.9";
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    lan2().connect();
    setLevel(3);
    QVERIFY(pageShown("Reg"));
    lan2().close();
    w_->repaintNow();
    QCOMPARE(w_->device().access.level(), 0);
    QVERIFY(!pageShown("Reg"));
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("NO USER"));
    QCOMPARE(w_->errorBar()->text(0), QStringLiteral("Sconect Master"));

    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    lan2().connect();
    setLevel(4);
    QTest::mouseClick(find<QPushButton>("LanOff"), Qt::LeftButton);
    w_->repaintNow();
    QCOMPARE(w_->device().access.level(), 4);
    QVERIFY(pageShown("Deb"));
  }

  void settingsRestoreLevel4AndHostWithinTheHour() {
    const auto record = SettingsRecord::make(4, "127.0.0.33", seams_->clockImpl.local);
    QVERIFY(writeSettingsFile(settingsPath(dataDir(), kWindowCaption), record));
    openWindow();
    QCOMPARE(w_->device().access.level(), 4);
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("$$$"));
    QVERIFY(pageShown("Deb"));
    QCOMPARE(find<QLineEdit>("Host")->text(), QStringLiteral("127.0.0.33"));
  }

  void settingsOfAnotherHourGiveLevel0ButTheHost() {
    LocalTime before = seams_->clockImpl.local;
    before.hour -= 1;
    QVERIFY(writeSettingsFile(settingsPath(dataDir(), kWindowCaption),
                              SettingsRecord::make(4, "127.0.0.34", before)));
    openWindow();
    QCOMPARE(w_->device().access.level(), 0);
    QCOMPARE(find<QLineEdit>("Host")->text(), QStringLiteral("127.0.0.34"));
  }

  void theTypedHostAndTheLevelAreWrittenAtExit() {
    openWindow();
    auto* host = find<QLineEdit>("Host");
    host->clear();
    QTest::keyClicks(host, QStringLiteral("127.0.0.35"));
    QCOMPARE(w_->device().connection.controls.host, std::string("127.0.0.35"));
    setLevel(4);
    w_.reset();  // FormDestroy
    const auto r = readSettingsFile(settingsPath(dataDir(), kWindowCaption));
    QVERIFY(r.has_value());
    QCOMPARE(r->hostText(), std::string("127.0.0.35"));
    QCOMPARE(int(r->level), 4);
    QCOMPARE(int(r->restoredLevel(seams_->clockImpl.local)), 4);
  }

  void theCommandLineHostReplacesTheStoredOne() {
    QVERIFY(writeSettingsFile(settingsPath(dataDir(), kWindowCaption),
                              SettingsRecord::make(0, "127.0.0.36", seams_->clockImpl.local)));
    openWindow(std::string("127.0.0.37"));
    QCOMPARE(find<QLineEdit>("Host")->text(), QStringLiteral("127.0.0.37"));
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    QCOMPARE(lan2().host, std::string("127.0.0.37"));
    QCOMPARE(lan2().port, uint16_t(47000));
  }

  void clickingTheErrorBarClearsPanels1And3() {
    openWindow();
    Shell& shell = w_->device().shell;
    for (size_t i = 0; i < 7; ++i) shell.setError(i, std::string("e").append(std::to_string(i)));
    w_->repaintNow();
    QCOMPARE(w_->errorBar()->text(5), QStringLiteral("e5"));
    QTest::mouseClick(w_->errorBar()->panel(4), Qt::LeftButton);
    w_->repaintNow();
    QCOMPARE(w_->errorBar()->text(0), QStringLiteral("e0"));
    QCOMPARE(w_->errorBar()->text(1), QString());
    QCOMPARE(w_->errorBar()->text(3), QString());
    QCOMPARE(w_->errorBar()->text(5), QStringLiteral("e5"));
    QCOMPARE(w_->errorBar()->text(6), QStringLiteral("e6"));
  }

  void repliesFillTheReadouts() {
    openWindow();
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    lan2().connect();
    lan2().receive(replyFrame(70, {' ', 'R', 'W', '4', '0', '0', '0', ' ', '8', '.', '1', 0}));
    lan2().receive(replyFrame(51, statusPayload(), 0x1234));
    QTRY_VERIFY(!find<QLineEdit>("ComStat")->text().isEmpty());  // repainted by the timer

    QCOMPARE(w_->statusBar()->text(0), QStringLiteral(" RW4000 8.1"));
    QCOMPARE(w_->statusBar()->text(1), QStringLiteral("Ls 300 T 16 Rs 7 St 9"));
    QCOMPARE(w_->errorBar()->text(0), QStringLiteral("Conect Master"));
    QCOMPARE(find<QLineEdit>("ComStat")->text(), QStringLiteral("1 2 3 200"));
    QCOMPARE(find<QLineEdit>("Port2")->text(), QStringLiteral("AB C 0 FF"));
    QCOMPARE(find<QLineEdit>("Peso")->text(), QStringLiteral("-1 100 0 0 0 0"));
    QCOMPARE(find<QLineEdit>("WebDeb")->text(), QStringLiteral("ab 1 0 1f"));
    QCOMPARE(find<QLineEdit>("ErrorApp")->text(), QStringLiteral("4294967295"));
    QCOMPARE(find<QLineEdit>("TimPes")->text(), QStringLiteral("65535"));
    QCOMPARE(w_->qx7Page().lnMenuIndex(), 13);
    QCOMPARE(w_->qx7Page().brMenuIndex(), 5);
    QVERIFY(find<QLineEdit>("SlComPr")->text().startsWith(QStringLiteral("  4660")));
    QVERIFY(find<QLineEdit>("ComProt")->text().startsWith(QStringLiteral("02  00  01  12  34  ")));
    QVERIFY(find<QLineEdit>("ProtMaster")->text().startsWith(QStringLiteral("02  00  01  ")));
    const QString memo = find<QPlainTextEdit>("Memo1")->toPlainText();
    QVERIFY(memo.contains(QStringLiteral("C..ing")));
    QVERIFY(memo.contains(QStringLiteral("Conect Master")));
    QVERIFY(memo.contains(QStringLiteral("50123")));
    QCOMPARE(memo.count(QStringLiteral("Conect Master")), 1);  // appended once, not per repaint
  }

  void indicatorsFollowTheReplyRhythm() {
    openWindow();
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    lan2().connect();
    lan2().receive(replyFrame(70, {0}));
    lan2().receive(replyFrame(51, statusPayload()));
    w_->repaintNow();
    const QColor green(0, 128, 0);
    QCOMPARE(find<QLabel>("DebFl")->palette().color(QPalette::Window), green);
    QCOMPARE(find<QLabel>("SlFl")->palette().color(QPalette::Window), green);
    seams_->timers.at(1)->fire();  // CmdTime
    w_->repaintNow();
    const QColor face = QApplication::palette().color(QPalette::Button);
    QCOMPARE(find<QLabel>("DebFl")->palette().color(QPalette::Window), face);
    QCOMPARE(find<QLabel>("SlFl")->palette().color(QPalette::Window), face);
  }

  void aFastReplyStreamIsRepaintedOnce() {
    openWindow();
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    lan2().connect();
    w_->repaintNow();
    const int before = w_->repaintCount();
    lan2().receive(replyFrame(70, {0}));
    for (int i = 0; i < 500; ++i) {  // each reply answers the status request that awaits it
      lan2().receive(replyFrame(51, statusPayload()));
      w_->device().channel.queueCmd(51);
      w_->device().channel.sendNextCmd();
    }
    QCOMPARE(w_->repaintCount(), before);  // nothing painted inside the stream
    QTRY_COMPARE(w_->repaintCount(), before + 1);
    QTest::qWait(100);
    QCOMPARE(w_->repaintCount(), before + 1);
    QCOMPARE(find<QLineEdit>("ComStat")->text(), QStringLiteral("1 2 3 200"));
  }

  void pollModeAndPeriod() {
    openWindow();
    setLevel(4);
    Connection& c = w_->device().connection;
    QTest::mouseClick(find<QRadioButton>("SelAutoDeb"), Qt::LeftButton);
    QCOMPARE(int(c.controls.selAuto), int(PollMode::Deb));
    QCOMPARE(seams_->timers.at(0)->interval(), 1000);
    find<QSlider>("SpeedClk")->setValue(250);
    w_->repaintNow();
    QCOMPARE(find<QLabel>("Label3")->text(), QStringLiteral("250"));
    QCOMPARE(seams_->timers.at(0)->interval(), 1000);  // takes effect with the next BarSim
    QTest::mouseClick(find<QRadioButton>("SelAutoBarSim"), Qt::LeftButton);
    QCOMPARE(seams_->timers.at(0)->interval(), 250);
    QTest::mouseClick(find<QRadioButton>("SelAutoPeso"), Qt::LeftButton);
    QCOMPARE(seams_->timers.at(0)->interval(), 250);
    // Connect selects "Off" again, and the radio group shows it.
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    w_->repaintNow();
    QCOMPARE(int(c.controls.selAuto), int(PollMode::Off));
    QVERIFY(find<QRadioButton>("SelAutoOff")->isChecked());
    QCOMPARE(seams_->timers.at(0)->interval(), 1000);
  }

  void sideSocketChoicesReachTheConnection() {
    openWindow();
    setLevel(4);
    QTest::mouseClick(find<QCheckBox>("RecOpen"), Qt::LeftButton);
    QTest::mouseClick(find<QCheckBox>("MobOpen"), Qt::LeftButton);
    QVERIFY(w_->device().connection.controls.recOpen);
    QVERIFY(w_->device().connection.controls.mobOpen);
    w_->device().connection.controls.host = "127.0.0.38";
    QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    QCOMPARE(seams_->sockets.at(1)->port, uint16_t(49000));
    QCOMPARE(seams_->sockets.at(2)->port, uint16_t(46000));
  }

  // Enter in Host connects to the typed address just as "Connect" does.
  void enterInHostConnectsAsConnectDoes_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::addRow("Connect") << false;
    QTest::addRow("Enter in Host") << true;
  }
  void enterInHostConnectsAsConnectDoes() {
    QFETCH(bool, byEnter);
    openWindow();
    auto* host = find<QLineEdit>("Host");
    host->clear();
    QTest::keyClicks(host, QStringLiteral("127.0.0.154"));
    QCOMPARE(lan2().opens, 0);
    if (byEnter)
      QTest::keyClick(host, Qt::Key_Return);
    else
      QTest::mouseClick(find<QPushButton>("LanOn"), Qt::LeftButton);
    QCOMPARE(lan2().opens, 1);
    QCOMPARE(lan2().host, std::string("127.0.0.154"));
    QCOMPARE(lan2().port, uint16_t(47000));
  }

  // Every control and page of the access table says which level it needs,
  // after its own tooltip, once, whatever the level applied.
  void accessControlsSayWhichLevelTheyNeed() {
    openWindow();
    for (int level : {0, 4, 2, 4}) setLevel(static_cast<uint8_t>(level));
    for (const AccessRow* row : w_->accessApplier().liveRows()) {
      const QByteArray name(row->control.data(), static_cast<qsizetype>(row->control.size()));
      const QString needed = QStringLiteral("Needs access level %1 (%2)")
                                 .arg(row->threshold)
                                 .arg(q(accessLevelName(row->threshold)));
      QString tip;
      if (row->effect == AccessEffect::Page)
        tip = w_->pages()->tabToolTip(w_->pages()->indexOf(find(name.constData())));
      else
        tip = find(name.constData())->toolTip();
      QVERIFY2(tip.endsWith(needed) && tip.count(QStringLiteral("Needs access level")) == 1,
               qPrintable(name + ": " + tip));
    }
    QCOMPARE(find("SpeedClk")->toolTip(),
             QStringLiteral("Poll period of BarSim, ms\nNeeds access level 4 ($$$)"));
    QCOMPARE(find("Reset")->toolTip(), QStringLiteral("Needs access level 3 (SERVICE USER)"));
    QCOMPARE(find("SaveAllPar")->toolTip(), QStringLiteral("Needs access level 3 (SERVICE USER)"));
    // A control of a window registered later says it too.
    setAside("SetEEprom");
    QWidget later;
    auto* eeprom = new QPushButton(&later);
    eeprom->setObjectName(QStringLiteral("SetEEprom"));
    w_->accessApplier().addRoot(&later);
    QCOMPARE(eeprom->toolTip(), QStringLiteral("Needs access level 1 (OPERATIONAL USER)"));
  }

  void resetQueuesTheDeviceReset() {
    openWindow();
    setLevel(3);
    QTest::mouseClick(find<QPushButton>("Reset"), Qt::LeftButton);
    QCOMPARE(w_->device().channel.queue().size(), size_t(1));
    QCOMPARE(*w_->device().channel.queue().head(), 82);
  }

  // The question before a destructive button, as the user sees it: its texts,
  // Cancel as the default button, and only the action's own button going ahead.
  void theConfirmationGoesAheadOnlyOnItsButton_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("goesAhead");
    QTest::addRow("Escape") << QStringLiteral("Escape") << false;
    QTest::addRow("Enter") << QStringLiteral("Enter") << false;
    QTest::addRow("Cancel") << QStringLiteral("Cancel") << false;
    QTest::addRow("the action's button") << QStringLiteral("Write defaults") << true;
  }
  void theConfirmationGoesAheadOnlyOnItsButton() {
    QFETCH(QString, answer);
    QFETCH(bool, goesAhead);
    setConfirmPresenter(nullptr);  // the real dialog
    openWindow();
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen = true;
      QCOMPARE(box->windowTitle(), QStringLiteral("Set all parameter tables to their defaults"));
      QCOMPARE(box->text(), QStringLiteral("Sets 3 tables."));
      QAbstractButton* cancel = box->button(QMessageBox::Cancel);
      QVERIFY(cancel);
      QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), cancel);
      QCOMPARE(box->escapeButton(), cancel);
      QWidget* focus = box->focusWidget() ? box->focusWidget() : box;
      if (answer == QLatin1String("Escape")) {
        QTest::keyClick(focus, Qt::Key_Escape);
      } else if (answer == QLatin1String("Enter")) {
        QTest::keyClick(focus, Qt::Key_Return);
      } else {
        for (QAbstractButton* b : box->buttons())
          if (b->text() == answer) QTest::mouseClick(b, Qt::LeftButton);
      }
    });
    QTimer::singleShot(5000, this, [] {  // never hang on a box that was not answered
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->done(-1);
    });
    const bool answered =
        confirm(w_.get(), {QStringLiteral("Set all parameter tables to their defaults"),
                           QStringLiteral("Sets 3 tables."), QStringLiteral("Write defaults")});
    QVERIFY(seen);
    QCOMPARE(answered, goesAhead);
  }

  void aCoreExceptionInAHandlerIsShownAndEndsOnlyThatHandler() {
    QStringList shown;
    setErrorPresenter([&](QWidget*, const QString& text) { shown << text; });
    openWindow();
    w_->device().access.afterUserChange = [] { throw std::runtime_error("Cell is not a number"); };
    setLevel(2);
    w_->FormDblClick();  // logs out, then the hook throws
    QCOMPARE(shown, QStringList{QStringLiteral("Cell is not a number")});
    w_->repaintNow();
    QCOMPARE(w_->device().access.level(), 0);  // what ran before the exception stays done
    QCOMPARE(w_->statusBar()->text(2), QStringLiteral("NO USER"));

    bool after = false;
    runGuarded(w_.get(), [&] { after = true; });
    QVERIFY(after);  // the window goes on
  }

  // What a socket or timer event of a feature throws is shown as the standard
  // error message once the event is over, and the window goes on.
  void anExceptionInASocketEventIsShownAfterTheEvent() {
    QStringList shown;
    setErrorPresenter([&](QWidget*, const QString& text) { shown << text; });
    openWindow();
    auto socket = w_->device().seams.makeSocket();
    struct Throwing : SocketListener {
      void socketRead(ByteView) override { throw std::runtime_error("Socket Error # 10061"); }
      void socketError(const std::string&) override {}
    } listener;
    socket->setListener(&listener);
    seams_->sockets.back()->receive(Bytes{1});
    QVERIFY(shown.isEmpty());  // not from inside the event
    QTRY_COMPARE(shown, QStringList{QStringLiteral("Socket Error # 10061")});
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
