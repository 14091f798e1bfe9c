#include "ui/qx7_terminal.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"
#include "ui_qx7_page.h"

namespace vantor {

namespace {

constexpr int kKeySize = 40;

// The keyboard keys that press the display terminal's keys, by caption.
struct KeyboardKey {
  const char* caption;
  Qt::Key key;
  const char* name;  // as the tooltip names it
};
constexpr KeyboardKey kKeyboard[] = {
    {"0", Qt::Key_0, "0"},
    {"1", Qt::Key_1, "1"},
    {"2", Qt::Key_2, "2"},
    {"3", Qt::Key_3, "3"},
    {"4", Qt::Key_4, "4"},
    {"5", Qt::Key_5, "5"},
    {"6", Qt::Key_6, "6"},
    {"7", Qt::Key_7, "7"},
    {"8", Qt::Key_8, "8"},
    {"9", Qt::Key_9, "9"},
    {"Up", Qt::Key_Up, "Up arrow"},
    {"Dw", Qt::Key_Down, "Down arrow"},
    {"Lf", Qt::Key_Left, "Left arrow"},
    {"Rg", Qt::Key_Right, "Right arrow"},
    {"Ent", Qt::Key_Return, "Enter"},
    {"Bk", Qt::Key_Backspace, "Backspace"},
};

const KeyboardKey* keyboardFor(const TerminalKey& key) {
  for (const KeyboardKey& k : kKeyboard)
    if (std::strcmp(k.caption, key.caption) == 0) return &k;
  return nullptr;
}

const TerminalKey* terminalKeyFor(int qtKey) {
  if (qtKey == Qt::Key_Enter) qtKey = Qt::Key_Return;  // the keypad's Enter as well
  for (const KeyboardKey& k : kKeyboard)
    if (k.key == qtKey) return findKeyByCaption(Keypad::Qx7, k.caption);
  return nullptr;
}

QString text(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines) out << QString::fromLatin1(line.c_str());
  return out.join('\n');
}

}  // namespace

Qx7Terminal::Qx7Terminal(Device& device, Ui::Qx7Page& ui, QWidget* page)
    : QObject(page), device_(device), ui_(ui) {
  // Memo4: 16 lines of 30 characters, all in view, in a fixed-pitch font.
  memo4_ = new QPlainTextEdit(ui_.GroupBox3);
  memo4_->setObjectName(QStringLiteral("Memo4"));
  memo4_->setReadOnly(true);
  memo4_->setFocusPolicy(Qt::StrongFocus);
  memo4_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo4_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo4_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo4_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QFontMetrics fm(memo4_->font());
  const int margin =
      2 * (memo4_->frameWidth() + static_cast<int>(memo4_->document()->documentMargin())) + 4;
  memo4_->setFixedSize(fm.horizontalAdvance(QString(kDisplayColumns, 'W')) + margin,
                       fm.lineSpacing() * static_cast<int>(kDisplayLines) + margin);
  memo4_->setToolTip(QStringLiteral(
      "The display terminal's screen. While it has the focus, the digits, the arrow keys, Enter "
      "and Backspace press the terminal's keys."));
  memo4_->installEventFilter(this);
  ui_.groupBox3Layout->addWidget(memo4_, 0, 1);

  // KeyPanel and "ReadDisplay" right of the display.
  auto* keyColumn = new QVBoxLayout();
  keyPanel_ = new QWidget(ui_.GroupBox3);
  keyPanel_->setObjectName(QStringLiteral("KeyPanel"));
  auto* keys = new QGridLayout(keyPanel_);
  keys->setContentsMargins(0, 0, 0, 0);
  keys->setSpacing(2);
  for (const TerminalKey& key : qx7Keys())
    keys->addWidget(keyButton(key, keyPanel_), key.row, key.column);
  keyColumn->addWidget(keyPanel_);
  auto* button4 = new QPushButton(QStringLiteral("ReadDisplay"), ui_.GroupBox3);
  button4->setObjectName(QStringLiteral("Button4"));
  connect(button4, &QPushButton::clicked, this,
          [this] { runGuarded(memo4_, [this] { device_.terminal.Button4Click(); }); });
  keyColumn->addWidget(button4);
  keyColumn->addStretch();
  ui_.groupBox3Layout->addLayout(keyColumn, 0, 2, 2, 1);

  // The keypad terminal's group in GroupBox3's place, and the switch between the two.
  auto* terminals = new QWidget(page);
  terminals->setObjectName(QStringLiteral("Terminals"));
  auto* column = new QVBoxLayout(terminals);
  column->setContentsMargins(0, 0, 0, 0);
  delete ui_.qx7Row->replaceWidget(ui_.GroupBox3, terminals);
  column->addWidget(ui_.GroupBox3);
  groupBox4_ = new QGroupBox(QStringLiteral("QX5"), terminals);
  groupBox4_->setObjectName(QStringLiteral("GroupBox4"));
  auto* qx5Keys = new QGridLayout(groupBox4_);
  qx5Keys->setSpacing(2);
  for (const TerminalKey& key : vantor::qx5Keys())
    qx5Keys->addWidget(keyButton(key, groupBox4_), key.row, key.column);
  groupBox4_->hide();
  column->addWidget(groupBox4_, 0, Qt::AlignLeft);
  qx5On_ = new QCheckBox(QStringLiteral("QX5_On"), terminals);
  qx5On_->setObjectName(QStringLiteral("QX5_On"));
  connect(qx5On_, &QCheckBox::clicked, this, [this](bool checked) {
    runGuarded(memo4_, [&] { device_.terminal.QX5_OnClick(checked); });
  });
  column->addWidget(qx5On_, 0, Qt::AlignLeft);
  column->addStretch();
  paint();
}

QPushButton* Qx7Terminal::keyButton(const TerminalKey& key, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(key.caption), parent);
  button->setObjectName(QString::fromLatin1(key.control));
  button->setFixedSize(kKeySize, kKeySize);
  button->setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the display
  if (const KeyboardKey* k = keyboardFor(key); k && key.pad == Keypad::Qx7)
    button->setToolTip(QStringLiteral("Key %1 (shortcut while the display has the focus: %2)")
                           .arg(QLatin1String(key.caption), QLatin1String(k->name)));
  const TerminalKey* data = &key;
  connect(button, &QPushButton::clicked, this, [this, data] { press(*data); });
  return button;
}

void Qx7Terminal::press(const TerminalKey& key) {
  runGuarded(memo4_, [&] { device_.terminal.keyClick(key); });
}

bool Qx7Terminal::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo4_ && event->type() == QEvent::KeyPress) {
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (const TerminalKey* key = terminalKeyFor(keyEvent->key())) {
      // The same lock-step as the buttons: ignored while KeyPanel is grey.
      if (keyPanel_->isEnabled()) press(*key);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void Qx7Terminal::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::Terminal)) paint();
}

void Qx7Terminal::paint() {
  const RemoteTerminalControls& c = device_.terminal.controls();
  const QString shown = text(c.memo4);
  if (memo4_->toPlainText() != shown) memo4_->setPlainText(shown);
  // A screen of a device no longer connected is greyed until read again.
  const bool stale = !c.displayCurrent && c.memo4 != RemoteTerminal::startText();
  memo4_->setStyleSheet(stale ? QStringLiteral("color: gray") : QString());
  keyPanel_->setEnabled(c.keyPanelEnabled);
  qx5On_->setChecked(c.qx5On);
  ui_.GroupBox3->setVisible(!c.qx5On);
  groupBox4_->setVisible(c.qx5On);
}

}  // namespace vantor
