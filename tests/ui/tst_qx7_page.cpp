// The "QX7" page and the weight page's QX3 panel with fake sockets: the
// keypad's lock-step with the display by mouse and keyboard, the keypad
// terminal's group, the clock and serial groups and the module panel. With
// VANTOR_SHOT_DIR set, the two pages are also saved there as pictures.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>
#include <memory>

#include "app/data_dir.h"
#include "fakes.h"
#include "peripherals/terminal_display.h"
#include "ui/guarded.h"
#include "ui/tqxvantor.h"
#include "window_fixture.h"

using namespace vantor;
using vantor::test::FakeSeams;
using vantor::test::FakeSocket;
using vantor::test::replyFrame;
using vantor::test::WindowFixture;

namespace {

// A screen whose line i reads "Line i: <label>".
Bytes screen(const std::string& label) {
  Bytes p(kDisplayBytes, 0);
  for (size_t i = 0; i < kDisplayLines; ++i) {
    const std::string text = "Line " + std::to_string(i) + ": " + label;
    std::copy(text.begin(), text.end(), p.begin() + static_cast<long>(i * kDisplaySlot));
  }
  return p;
}

// The full 30 characters of every line, to show the memo holds them all.
Bytes fullScreen() {
  Bytes p(kDisplayBytes, 0);
  for (size_t i = 0; i < kDisplayLines; ++i)
    for (size_t k = 0; k < kDisplayColumns; ++k)
      p[i * kDisplaySlot + k] = static_cast<uint8_t>(k == 0 ? 'A' + i : k == 29 ? '|' : 'W');
  return p;
}

}  // namespace

class TestQx7Page : public QObject, public WindowFixture {
  Q_OBJECT

 private:
  void open(const char* page) {
    openWindow();
    if (QTest::currentTestFailed()) return;
    device().access.setLevel(4);
    device().access.apply();
    w_->pages()->setCurrentWidget(find(page));
    w_->repaintNow();
    connectMain("127.0.0.225");
  }
  // The next request that goes out: its code and parameter bytes; -1 for none.
  std::pair<int, Bytes> sent() {
    device().channel.sendNextCmd();
    if (lan2().writes.empty()) return {-1, {}};
    const Bytes f = lan2().takeWrite();
    return {f.at(7), Bytes(f.begin() + 8, f.end() - 3)};
  }
  void reply(int code, const Bytes& payload) {
    lan2().receive(replyFrame(code, payload));
    w_->repaintNow();
  }
  // What the reply's own chaining sent at once.
  std::pair<int, Bytes> chained() {
    if (lan2().writes.empty()) return {-1, {}};
    const Bytes f = lan2().takeWrite();
    return {f.at(7), Bytes(f.begin() + 8, f.end() - 3)};
  }
  void shoot(const char* page, const char* file) {
    const QByteArray dir = qgetenv("VANTOR_SHOT_DIR");
    if (dir.isEmpty()) return;
    w_->pages()->setCurrentWidget(find(page));
    w_->repaintNow();
    QVERIFY(w_->grab().save(QString::fromLocal8Bit(dir) + "/" + file));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    seams_ = std::make_unique<FakeSeams>();
    setErrorPresenter(
        [](QWidget*, const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
  }
  void cleanup() {
    w_.reset();
    seams_.reset();
  }

  void pageShowsItsControls() {
    open("TabQX7");
    QCOMPARE(find<QGroupBox>("GroupBox3")->title(), QStringLiteral("QX7"));
    QCOMPARE(find<QPushButton>("Button4")->text(), QStringLiteral("ReadDisplay"));
    QCOMPARE(find<QPlainTextEdit>("Memo4")->toPlainText(),
             QStringLiteral("Apertar ReadDisplay\n\nPara Sincronizar com display \ndo QX7"));
    for (const char* key : {"Key_0", "Key_5", "Key_Back", "Key_Ent", "Key_Up", "Key_Dw"}) {
      QVERIFY2(find<QPushButton>(key)->isVisible(), key);
      QCOMPARE(find<QPushButton>(key)->size(), QSize(40, 40));
    }
    QVERIFY(find<QPushButton>("Key_Up")->toolTip().contains("Up arrow"));
    QVERIFY(find("GroupBox4")->isHidden());
    QVERIFY(!find<QCheckBox>("QX5_On")->isChecked());
    QCOMPARE(find<QSpinBox>("PortSel")->value(), 2);
    QCOMPARE(find<QSpinBox>("EndCh")->value(), 13);
    QCOMPARE(find<QSpinBox>("EndCh")->maximum(), 127);
    QCOMPARE(find<QLineEdit>("StrDataSend")->text(), QStringLiteral("StrDataSend"));
    QVERIFY(find<QPushButton>("Set0")->isEnabled());
    QVERIFY(!find<QPushButton>("SetFS")->isEnabled());
    // The arrow cross sits under the digits: Up above Dw, Lf left of Rg.
    const QRect up = find("Key_Up")->geometry(), dw = find("Key_Dw")->geometry();
    QVERIFY(up.bottom() < dw.top());
    QVERIFY(find("Key_Lf")->geometry().right() < find("Key_Rg")->geometry().left());
    QVERIFY(find("Key_0")->geometry().bottom() < up.top());

    // 16 lines of 30 characters are in view, none cut.
    reply(3, fullScreen());  // a reply nobody asked for is not taken
    device().terminal.Button4Click();
    QCOMPARE(sent().first, 3);
    reply(3, fullScreen());
    auto* memo = find<QPlainTextEdit>("Memo4");
    QCOMPARE(memo->toPlainText().split('\n').size(), 16);
    const QRect last = memo->cursorRect(QTextCursor(memo->document()->lastBlock()));
    QVERIFY2(last.bottom() <= memo->viewport()->height(), "the 16th line is cut");
    QTextCursor end(memo->document()->firstBlock());
    end.movePosition(QTextCursor::EndOfBlock);
    QVERIFY2(memo->cursorRect(end).left() <= memo->viewport()->width(), "the 30th column is cut");
    shoot("TabQX7", "qx7_page.png");
  }

  // Mouse: "5" sends 0x35 and greys the keypad; a key then does nothing; the
  // key's reply reads the display, whose reply brings the keypad back.
  void keypadLockStepByMouse() {
    open("TabQX7");
    click("Key_5");
    QVERIFY(!find("KeyPanel")->isEnabled());
    QVERIFY(!find("Key_6")->isEnabled());
    QTest::mouseClick(find<QPushButton>("Key_6"), Qt::LeftButton);  // grey: ignored
    QCOMPARE(sent(), std::make_pair(4, Bytes{0x35}));
    QCOMPARE(sent().first, -1);  // "6" never queued
    reply(4, {});
    QCOMPARE(chained(), std::make_pair(3, Bytes{}));
    QVERIFY(!find("KeyPanel")->isEnabled());
    reply(3, screen("after 5"));
    QVERIFY(find("KeyPanel")->isEnabled());
    QVERIFY(find<QPlainTextEdit>("Memo4")->toPlainText().startsWith("Line 0: after 5\n"));
    click("Key_Back");
    QCOMPARE(sent(), std::make_pair(4, Bytes{0x46}));
  }

  // Keyboard on the display: each key as its button, through the same lock-step.
  void keyboardDrivesTheTerminal() {
    open("TabQX7");
    auto* memo = find<QPlainTextEdit>("Memo4");
    memo->setFocus();
    const struct {
      Qt::Key key;
      uint8_t code;
    } keys[] = {{Qt::Key_7, 0x37},     {Qt::Key_Up, 0x41},        {Qt::Key_Down, 0x42},
                {Qt::Key_Left, 0x43},  {Qt::Key_Right, 0x44},     {Qt::Key_Return, 0x45},
                {Qt::Key_Enter, 0x45}, {Qt::Key_Backspace, 0x46}, {Qt::Key_0, 0x30}};
    for (const auto& k : keys) {
      QTest::keyClick(memo, k.key);
      w_->repaintNow();
      QVERIFY(!find("KeyPanel")->isEnabled());
      QTest::keyClick(memo, Qt::Key_9);  // while grey: ignored
      QCOMPARE(sent(), std::make_pair(4, Bytes{k.code}));
      QCOMPARE(sent().first, -1);
      reply(4, {});
      QCOMPARE(chained().first, 3);
      reply(3, screen("k"));
      QVERIFY(find("KeyPanel")->isEnabled());
      QVERIFY(memo->toPlainText().startsWith(QStringLiteral("Line 0: k\n")));
    }
    QTest::keyClick(memo, Qt::Key_A);  // not a terminal key
    QCOMPARE(sent().first, -1);
  }

  // QX5_On shows the keypad terminal instead of the display terminal; its
  // keys send their codes and nothing reads the display after them.
  void keypadTerminalWithoutReadBack() {
    open("TabQX7");
    QTest::mouseClick(find<QCheckBox>("QX5_On"), Qt::LeftButton);
    w_->repaintNow();
    QVERIFY(find("GroupBox3")->isHidden());
    QVERIFY(!find("GroupBox4")->isHidden());
    click("QX5_Bk");
    click("QX5_F1");
    QCOMPARE(sent(), std::make_pair(4, Bytes{5}));
    reply(4, {});
    QCOMPARE(chained(), std::make_pair(4, Bytes{1}));
    reply(4, {});
    QCOMPARE(chained().first, -1);
    shoot("TabQX7", "qx7_page_qx5.png");
    QTest::mouseClick(find<QCheckBox>("QX5_On"), Qt::LeftButton);
    w_->repaintNow();
    QVERIFY(!find("GroupBox3")->isHidden());
    QVERIFY(find("GroupBox4")->isHidden());
  }

  void clockAndSerialGroups() {
    open("TabQX7");
    seams_->clockImpl.local = {2024, 3, 7, 9, 5, 3};
    click("SetTime");
    QCOMPARE(sent(), std::make_pair(5, Bytes{'0', '7', '0', '3', '2', '0', '2', '4', 0, '0', '9',
                                             '0', '5', '0', '3', 0}));
    reply(5, {});
    click("GetTime");
    QCOMPARE(sent().first, 6);
    reply(6, Bytes{'0', '7', '0', '3', '2', '0', '2', '4', '0', '9', '0', '5', '0', '3'});
    QCOMPARE(find<QLineEdit>("DateStr")->text(), QStringLiteral("09:05:03 07-03-2024"));

    auto* text = find<QLineEdit>("StrDataSend");
    text->clear();
    QTest::keyClicks(text, "AB");
    find<QSpinBox>("PortSel")->setValue(1);
    find<QSpinBox>("EndCh")->setValue(10);
    click("SetStr");
    QCOMPARE(sent(), std::make_pair(2, Bytes{1, 'A', 'B', 10}));
    reply(2, {});
    click("Set0");
    QCOMPARE(text->text(), QStringLiteral("IZA"));
    QVERIFY(!find("Set0")->isEnabled());
    QVERIFY(find("SetFS")->isEnabled());
    QCOMPARE(sent(), std::make_pair(2, Bytes{1, 'I', 'Z', 'A', 10}));
    reply(2, {});
    click("GetRx");
    QCOMPARE(sent(), std::make_pair(1, Bytes{1}));
    Bytes rx(256, 0);
    rx[0] = 'O', rx[1] = 'K';
    reply(1, rx);
    const QStringList memo = find<QPlainTextEdit>("Memo3")->toPlainText().split('\n');
    QCOMPARE(memo.size(), 18);
    QCOMPARE(memo[0], QStringLiteral("OK"));
    QVERIFY(memo[2].startsWith("4F  4B  00  "));
  }

  void qx3PanelOnTheWeightPage() {
    open("PesoPage");
    QVERIFY(find("PanelQX3")->isVisible());
    QVERIFY(find("Button5")->isEnabled());  // the line simulator's reader 0 barcode
    auto* list = find<QComboBox>("CmdList");
    QCOMPARE(list->count(), 27);
    QCOMPARE(list->currentIndex(), -1);
    click("GetStPar");  // nothing chosen: nothing sent
    QCOMPARE(sent().first, -1);
    list->setCurrentIndex(list->findText("VER - Firmware Revision"));
    click("GetStPar");
    QCOMPARE(sent(), std::make_pair(2, Bytes{2, 'V', 'E', 'R', '?', 13}));
    reply(2, {});
    QCOMPARE(chained(), std::make_pair(1, Bytes{2}));
    Bytes rx(256, 0);
    rx[0] = 'V', rx[1] = '1';
    reply(1, rx);
    QCOMPARE(find<QLineEdit>("QX3Par")->text(), QStringLiteral("V1"));
    list->setCurrentIndex(list->findText("UCW - User Calibration Weight"));
    QTest::keyClicks(find<QLineEdit>("QX3SetPar"), "2000");
    click("SetStPar");
    QCOMPARE(sent(), std::make_pair(2, Bytes{2, 'U', 'C', 'W', '2', '0', '0', '0', 13}));
    click("Button5");
    QVERIFY(w_->device().channel.queue().contains(30));
    shoot("PesoPage", "peso_page.png");
  }
};

QTEST_MAIN(TestQx7Page)
#include "tst_qx7_page.moc"
