// The "Deb" page's diagnosis tools with fake sockets: the controls and their
// captions, the log download's progress, RAM and EEPROM through their
// controls, a refused write named in the page, Panel2's buttons through a
// connection and a failed one, and the traffic log's view, pause and save.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "fakes.h"
#include "ui/file_choice.h"
#include "ui/guarded.h"
#include "ui/tqxvantor.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::hex;
using vantor::test::replyFrame;
using vantor::test::requestParams;
using vantor::test::WindowFixture;

class TestDiagnosisPage : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  QStringList messages_;

  // The parameters of the next request sent.
  Bytes sent() {
    device().channel.sendNextCmd();
    return requestParams(lan2().takeWrite());
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    seams_ = std::make_unique<FakeSeams>();
    messages_.clear();
    setErrorPresenter([this](QWidget*, const QString& text) { messages_ << text; });
    newWindow();
    device().access.setLevel(4);
    device().access.apply();
    showWindow();
    if (QTest::currentTestFailed()) return;
    w_->repaintNow();  // the page of level 4 is shown now
    w_->pages()->setCurrentWidget(find("Deb"));
    w_->repaintNow();
  }
  void cleanup() {
    w_.reset();
    setErrorPresenter(nullptr);
    setFileChooser(nullptr);
  }

  void controlsHaveTheirCaptionsAndStartStates() {
    struct Caption {
      const char* name;
      const char* text;
    };
    for (const Caption& c :
         {Caption{"GetLog", "Get LOG"}, Caption{"RD_RAM", "RD"}, Caption{"WR_RAM", "WR"},
          Caption{"RD_EEP", "RD"}, Caption{"VR_EEP", "WR"}, Caption{"GetBarCode", "GetBarCode"},
          Caption{"Lan3On", "Connect"}, Caption{"Lan3Off", "Disconnect"},
          Caption{"Lan3Send", "Kill"}, Caption{"Button3", "Button3"}})
      QCOMPARE(find<QPushButton>(c.name)->text(), QString::fromLatin1(c.text));
    QCOMPARE(find<QGroupBox>("GroupRAM")->title(), QStringLiteral("RAM Control"));
    QCOMPARE(find<QGroupBox>("GroupEEPROM")->title(), QStringLiteral("EEPROM Control"));
    QCOMPARE(find<QCheckBox>("HiAdd")->text(), QStringLiteral("HiAdd"));
    QCOMPARE(find<QProgressBar>("ProgressBarLog")->maximum(), 500);
    QCOMPARE(find<QSpinBox>("AddRAM")->maximum(), 2147483647);
    QCOMPARE(find<QSpinBox>("AddRAM")->singleStep(), 4);
    QCOMPARE(find<QSpinBox>("NumBPg")->minimum(), 1);
    QCOMPARE(find<QSpinBox>("NumBPg")->maximum(), 128);
    QCOMPARE(find<QLineEdit>("AddrRAM")->text(), QStringLiteral("00"));
    QVERIFY(!find<QLineEdit>("AddrRAM")->isEnabled());
    QCOMPARE(find<QLineEdit>("DataRAM")->text(), QStringLiteral("Data"));
    QCOMPARE(find<QLineEdit>("Lan3Txt")->text(), QStringLiteral("Lan3Txt"));
    QVERIFY(find<QPushButton>("Lan3On")->isEnabled());
    QVERIFY(!find<QPushButton>("Lan3Off")->isEnabled());
    QVERIFY(!find<QPushButton>("Lan3Send")->isEnabled());
    auto* grid = find<QTableWidget>("MemEEpPag");
    QCOMPARE(grid->rowCount(), 8);
    QCOMPARE(grid->columnCount(), 16);
    QCOMPARE(grid->columnWidth(0), 30);
    QCOMPARE(grid->rowHeight(0), 18);
    for (const char* item : {"SelPortVan", "SelPortMob", "SelPortInt"})
      QVERIFY(!find<QRadioButton>(item)->isChecked());
    QVERIFY(find("GetLog")->isVisible());
    // VANTOR_SHOT=DIR keeps a picture of the page at the smallest screen, to look at.
    if (const QString shots = qEnvironmentVariable("VANTOR_SHOT"); !shots.isEmpty()) {
      w_->resize(1024, 560);
      QCoreApplication::processEvents();
      QVERIFY(w_->grab().save(QDir(shots).filePath(QStringLiteral("deb_page.png"))));
      QVERIFY(
          find("DebPageForm")->grab().save(QDir(shots).filePath(QStringLiteral("deb_all.png"))));
    }
  }

  void logDownloadMovesTheProgressBar() {
    connectMain("127.0.0.180");
    click("GetLog");
    device().channel.sendNextCmd();
    lan2().writes.clear();
    lan2().receive(replyFrame(69, hex("00 00 10 20 00 00 00 00")));
    for (int i = 0; i < 3; ++i) {
      lan2().writes.clear();
      lan2().receive(replyFrame(21, Bytes(1000, 0)));
    }
    w_->repaintNow();
    QCOMPARE(find<QProgressBar>("ProgressBarLog")->value(), 3);
    QVERIFY(find<QLabel>("LogProgress")->text().startsWith(QStringLiteral("block 4 of 501, ETA ")));
  }

  void ramAndEepromThroughTheirControls() {
    connectMain("127.0.0.180");
    find<QSpinBox>("AddRAM")->setValue(4);
    QTest::mouseClick(find<QCheckBox>("HiAdd"), Qt::LeftButton, {},
                      QPoint(6, find<QCheckBox>("HiAdd")->height() / 2));
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("AddrRAM")->text(), QStringLiteral("80000004"));
    click("RD_RAM");
    QCOMPARE(sent(), hex("04 00 00 80"));
    lan2().receive(replyFrame(12, hex("FF FF FF FF")));
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("DataRAM")->text(), QStringLiteral("4294967295"));
    QCOMPARE(find<QLineEdit>("DataX")->text(), QStringLiteral("FFFFFFFF"));

    // A typed value that is not a number: nothing sent, the control named.
    auto* data = find<QLineEdit>("DataRAM");
    data->selectAll();
    QTest::keyClicks(data, QStringLiteral("12a"));
    click("WR_RAM");
    QCOMPARE(sent(), Bytes{});
    w_->repaintNow();
    QCOMPARE(find<QLabel>("MemMessage")->text(),
             QStringLiteral("WR not sent: DataRAM: '12a' is not a valid integer value"));

    // An edited cell goes out as its low byte.
    auto* grid = find<QTableWidget>("MemEEpPag");
    grid->item(0, 1)->setText(QStringLiteral("300"));
    find<QSpinBox>("NumBPg")->setValue(2);
    find<QSpinBox>("AddEEP")->setValue(0x1234);
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("AddEEPx")->text(), QStringLiteral("00001234"));
    click("VR_EEP");
    QCOMPARE(sent(), hex("34 12 00 00 02 00 2C"));
    lan2().receive(replyFrame(18, hex("00")));
    click("RD_EEP");
    QCOMPARE(sent(), hex("34 12 00 00 02"));
    lan2().receive(replyFrame(17, hex("01 07 08")));
    w_->repaintNow();
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("7"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("8"));
    QCOMPARE(find<QLineEdit>("StEEP")->text(), QStringLiteral("1"));
    QCOMPARE(find<QLineEdit>("DataEEP")->text(), QStringLiteral("7"));
  }

  void panel2ConnectsKillsAndShowsAFailure() {
    device().connection.controls.host = "127.0.0.181";
    click("Lan3On");
    lan3().fail("Connection refused");
    QCoreApplication::processEvents();  // the message box comes once the event is over
    QCOMPARE(messages_, QStringList{QStringLiteral("Lan3 127.0.0.181:46990: Connection refused")});
    w_->repaintNow();
    QVERIFY(!find<QPushButton>("Lan3Send")->isEnabled());
    click("Lan3On");
    lan3().connect();
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("Lan3Txt")->text(), QStringLiteral("Conect3"));
    QTest::mouseClick(find<QRadioButton>("SelPortInt"), Qt::LeftButton);
    click("Lan3Send");
    QCOMPARE(lan3().writes.back(), hex("55 02 57"));
    click("Lan3Off");
    QVERIFY(!find<QPushButton>("Lan3Send")->isEnabled());
    QCOMPARE(find<QLineEdit>("Lan3Txt")->text(), QStringLiteral("Sconect3"));
  }

  void trafficLogShowsPausesAndSaves() {
    connectMain("127.0.0.180");
    click("TrafficClear");
    click("RD_RAM");
    sent();
    lan2().receive(replyFrame(12, hex("01 00 00 00")));
    w_->repaintNow();
    auto* view = find<QPlainTextEdit>("TrafficLog");
    QCOMPARE(view->blockCount(), 2);
    QVERIFY(view->toPlainText().contains(QStringLiteral(" TX  12 ")));
    QVERIFY(view->toPlainText().contains(QStringLiteral(" [ok]")));
    click("TrafficPause");
    click("RD_RAM");
    sent();
    w_->repaintNow();
    QCOMPARE(view->blockCount(), 2);
    const QString path = dir_->filePath(QStringLiteral("traffic.txt"));
    setFileChooser([&](QWidget*, const FileDialogRequest&) { return std::optional(path); });
    click("TrafficSave");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QCOMPARE(text.count("\r\n"), 2);
    QVERIFY(text.contains(" RX  12 "));
  }
};

QTEST_MAIN(TestDiagnosisPage)
#include "tst_diagnosis_page.moc"
