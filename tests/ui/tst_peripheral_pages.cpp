// The "Printer" and "Sim Integrador" pages with fake sockets: the controls and
// their captions, a label loaded through the file dialog and uploaded with its
// progress, the reject texts read, edited and written, the integrator's
// requests answered and logged, and a flood of messages that leaves the memos
// with their newest lines without holding the window up.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "fakes.h"
#include "peripherals/integrator_frame.h"
#include "ui/file_choice.h"
#include "ui/tqxvantor.h"
#include "ui/value_grid.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::replyFrame;
using vantor::test::WindowFixture;

class TestPeripheralPages : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  FakeSocket& portRec() { return *seams_->sockets.at(1); }
  void save(const char* name) {
    const QByteArray out = qgetenv("VANTOR_SCREENSHOT_DIR");
    if (out.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(out));
    QVERIFY(w_->grab().save(QDir(QString::fromLocal8Bit(out)).filePath(QLatin1String(name))));
  }

 private slots:
  void init() {
    openSmallWindow();
    if (QTest::currentTestFailed()) return;
    device().access.passwordDialogClosed("Velmor");
    device().connection.controls.recOpen = true;
    connectMain("127.0.0.195");
    portRec().connect();
    w_->repaintNow();
  }
  void cleanup() {
    setFileChooser({});
    w_.reset();
  }

  void printerPageShowsItsControls() {
    w_->pages()->setCurrentWidget(find("TabPrinter"));
    const std::pair<const char*, const char*> buttons[] = {
        {"SetPrint", "Load Label"},   {"SendPrt", "Send Label"},
        {"SendPrtP", "Send Label P"}, {"GetPrValid", "GetPrValid"},
        {"GetErLb", "GetErLb"},       {"SetErLb", "SetErLb"},
        {"SetErLbP", "SetErLb P"},    {"Button2", "Conn"},
        {"PrDisc", "Desconn"},        {"PrSend", "Send"}};
    for (auto [name, text] : buttons) {
      auto* b = find<QPushButton>(name);
      QVERIFY2(b, name);
      QCOMPARE(b->text(), QString::fromLatin1(text));
    }
    QVERIFY(!find<QPushButton>("SendPrt")->isEnabled());
    QCOMPARE(find<QLabel>("MsgPrt")->text(), QStringLiteral("Void"));
    QCOMPARE(find<QComboBox>("ComboBox1")->count(), 7);
    QCOMPARE(find<QComboBox>("ComboBox1")->itemText(6), QStringLiteral("115200"));
    QCOMPARE(find<QComboBox>("ComboBox1")->itemText(0), QStringLiteral("9600\t"));
    QCOMPARE(find<QSpinBox>("LabelID")->maximum(), 8);
    QCOMPARE(find<QSpinBox>("LabelIDProd")->minimum(), 1);
    QVERIFY(find<QPlainTextEdit>("Memo6")->toPlainText().startsWith(
        QStringLiteral("Campos Valido\n\n<nr_sscc_caixa>")));
    QCOMPARE(find<ValueGrid>("GridErLb")->verticalHeaderItem(7)->text(),
             QStringLiteral("Cx parada"));
    save("vantor-printer.png");
  }

  void labelLoadsAndUploadsWithProgress() {
    w_->pages()->setCurrentWidget(find("TabPrinter"));
    const QString path = dir_->filePath(QStringLiteral("label.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2500, 'x'));
    f.close();
    setFileChooser([path](QWidget*, const FileDialogRequest&) { return std::optional(path); });
    click("SetPrint");
    QCOMPARE(find<QLabel>("MsgPrt")->text(), QStringLiteral("Ready"));
    QVERIFY(find<QPushButton>("SendPrt")->isEnabled());
    find<QSpinBox>("LabelID")->setValue(3);
    click("SendPrt");
    device().channel.sendNextCmd();
    w_->repaintNow();
    QCOMPARE(find<QLabel>("PrProgress")->text(), QStringLiteral("chunk 1 of 3"));
    QCOMPARE(lan2().writes.at(0).at(8), uint8_t{3});
    for (int code : {40, 40, 40}) {
      lan2().writes.clear();
      lan2().receive(replyFrame(code, {}));
    }
    lan2().receive(replyFrame(41, {2}));
    w_->repaintNow();
    QCOMPARE(find<QLabel>("MsgPrt")->text(), QStringLiteral("Error"));
    QCOMPARE(find<QLabel>("PrProgress")->text(), QString());
  }

  void rejectTextsReadEditAndWrite() {
    w_->pages()->setCurrentWidget(find("TabPrinter"));
    click("GetErLb");
    device().channel.sendNextCmd();
    Bytes block(816, 0);
    std::copy_n("NoRead", 6, block.begin() + 300);
    block[806] = 1;
    lan2().writes.clear();
    lan2().receive(replyFrame(43, block));
    w_->repaintNow();
    auto* grid = find<ValueGrid>("GridErLb");
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("NoRead"));
    QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("1"));
    emit grid->valueCommitted(2, 1, QStringLiteral("ABAIXO"));
    click("SetErLb");
    device().channel.sendNextCmd();
    const Bytes w = lan2().takeWrite();
    QCOMPARE(w.at(7), uint8_t{44});
    QCOMPARE(std::string(w.begin() + 8 + 200, w.begin() + 8 + 206), std::string("ABAIXO"));
  }

  void regPageAnswersAndLogs() {
    w_->pages()->setCurrentWidget(find("Reg"));
    QCOMPARE(find<QSpinBox>("SelReg")->value(), 1);
    QVERIFY(find<QCheckBox>("AutoAck")->isChecked());
    QCOMPARE(find<QSpinBox>("MobValCmd")->value(), 601);
    QCOMPARE(find<QPushButton>("Wkp")->text(), QStringLiteral("Wake Up"));
    QVERIFY(find<QPushButton>("TestMob")->isVisible());
    QVERIFY(!find<QSpinBox>("SelPeso")->isVisible());
    QVERIFY(!find<QPushButton>("RejPeso")->isVisible());
    find<QSpinBox>("SelReg")->setValue(7);
    find<QCheckBox>("AutoAck")->setChecked(false);
    portRec().receive(frameIntegratorText("084"));
    w_->repaintNow();
    QCOMPARE(find<QSpinBox>("SelReg")->value(), 0);
    QVERIFY(find<QPlainTextEdit>("Memo10")->toPlainText().endsWith(
        QStringLiteral("084\t7\t100\t102\t8")));
    QVERIFY(find<QPlainTextEdit>("Memo2")->toPlainText().endsWith(QStringLiteral("\n084")));
    click("Button7");
    seams_->timers.at(0)->fire();
    w_->repaintNow();
    QCOMPARE(find<QLineEdit>("Edit2")->text(), QStringLiteral("62"));
    save("vantor-reg.png");
  }

  // 20 000 messages in one go: the memos show the newest 5000 lines and the
  // repaint takes a moment, not the window.
  void aFloodKeepsTheNewestLines() {
    w_->pages()->setCurrentWidget(find("Reg"));
    Bytes flood;
    for (int i = 0; i < 20000; ++i) {
      const Bytes m = frameIntegratorText("544\x06" + std::to_string(i));
      flood.insert(flood.end(), m.begin(), m.end());
    }
    portRec().receive(flood);
    QElapsedTimer t;
    t.start();
    w_->repaintNow();
    QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
    auto* memo2 = find<QPlainTextEdit>("Memo2");
    QCOMPARE(memo2->blockCount(), 5000);
    QVERIFY(
        memo2->toPlainText().endsWith(QStringLiteral("544\x06"
                                                     "19999")));
  }
};

QTEST_MAIN(TestPeripheralPages)
#include "tst_peripheral_pages.moc"
