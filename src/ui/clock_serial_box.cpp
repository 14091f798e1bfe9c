#include "ui/clock_serial_box.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"

namespace vantor {

namespace {
constexpr int kMemo3Columns = 64;
constexpr int kMemo3Lines = 10;  // of 18; the rest scrolls
}  // namespace

ClockSerialBox::ClockSerialBox(Device& device, QWidget* parent) : QWidget(parent), device_(device) {
  setObjectName(QStringLiteral("ClockSerialBox"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* time = new QGroupBox(QStringLiteral("Time"), this);
  time->setObjectName(QStringLiteral("Time"));
  auto* timeRow = new QHBoxLayout(time);
  dateStr_ = new QLineEdit(time);
  dateStr_->setObjectName(QStringLiteral("DateStr"));
  dateStr_->setReadOnly(true);
  dateStr_->setToolTip(QStringLiteral("The device clock as last read: HH:MM:SS DD-MM-YYYY"));
  timeRow->addWidget(dateStr_);
  timeRow->addWidget(button("GetTime", time, &ClockSerial::GetTimeClick));
  QPushButton* setTime = button("SetTime", time, &ClockSerial::SetTimeClick);
  setTime->setToolTip(QStringLiteral("Sets the device clock to this PC's date and time"));
  timeRow->addWidget(setTime);
  layout->addWidget(time);

  auto* comm = new QGroupBox(QStringLiteral("Comm"), this);
  comm->setObjectName(QStringLiteral("GroupComm"));
  auto* commLayout = new QVBoxLayout(comm);
  auto* settings = new QHBoxLayout();
  ClockSerialControls& c = device_.clockSerial.controls;
  portSel_ = new QSpinBox(comm);
  portSel_->setObjectName(QStringLiteral("PortSel"));
  portSel_->setRange(ClockSerial::kPortMin, ClockSerial::kPortMax);
  portSel_->setValue(c.portSel);
  connect(portSel_, &QSpinBox::valueChanged, this,
          [this](int v) { device_.clockSerial.controls.portSel = v; });
  endCh_ = new QSpinBox(comm);
  endCh_->setObjectName(QStringLiteral("EndCh"));
  endCh_->setRange(ClockSerial::kEndMin, ClockSerial::kEndMax);
  endCh_->setValue(c.endCh);
  connect(endCh_, &QSpinBox::valueChanged, this,
          [this](int v) { device_.clockSerial.controls.endCh = v; });
  settings->addWidget(new QLabel(QStringLiteral("Port"), comm));
  settings->addWidget(portSel_);
  settings->addWidget(new QLabel(QStringLiteral("Char End"), comm));
  settings->addWidget(endCh_);
  strDataSend_ = new QLineEdit(comm);
  strDataSend_->setObjectName(QStringLiteral("StrDataSend"));
  strDataSend_->setMaxLength(static_cast<int>(ClockSerial::kTextMax));
  connect(strDataSend_, &QLineEdit::textEdited, this, [this](const QString& text) {
    device_.clockSerial.controls.strDataSend = text.toLatin1().toStdString();
  });
  settings->addWidget(strDataSend_, 1);
  commLayout->addLayout(settings);

  auto* buttons = new QHBoxLayout();
  buttons->addWidget(button("SetStr", comm, &ClockSerial::SetStrClick));
  buttons->addWidget(button("GetRx", comm, &ClockSerial::GetRxClick));
  set0_ = button("Set0", comm, &ClockSerial::Set0Click);
  set0_->setToolTip(QStringLiteral("Zero adjustment of the weighing module (IZA)"));
  setFS_ = button("SetFS", comm, &ClockSerial::SetFSClick);
  setFS_->setToolTip(QStringLiteral("Full-scale adjustment of the weighing module (IFA;NRP1)"));
  buttons->addWidget(set0_);
  buttons->addWidget(setFS_);
  buttons->addStretch();
  commLayout->addLayout(buttons);

  memo3_ = new QPlainTextEdit(comm);
  memo3_->setObjectName(QStringLiteral("Memo3"));
  memo3_->setReadOnly(true);
  memo3_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo3_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QFontMetrics fm(memo3_->font());
  const int margin =
      2 * (memo3_->frameWidth() + static_cast<int>(memo3_->document()->documentMargin())) + 4;
  memo3_->setFixedWidth(fm.horizontalAdvance(QString(kMemo3Columns, 'W')) + margin +
                        memo3_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  memo3_->setFixedHeight(fm.lineSpacing() * kMemo3Lines + margin);
  commLayout->addWidget(memo3_);
  layout->addWidget(comm);
  layout->addStretch();
  paint();
}

QPushButton* ClockSerialBox::button(const char* caption, QWidget* parent,
                                    void (ClockSerial::*click)()) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(caption));
  connect(b, &QPushButton::clicked, this,
          [this, click] { runGuarded(this, [&] { (device_.clockSerial.*click)(); }); });
  return b;
}

void ClockSerialBox::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::ClockSerial)) paint();
}

void ClockSerialBox::paint() {
  const ClockSerialControls& c = device_.clockSerial.controls;
  dateStr_->setText(QString::fromLatin1(c.dateStr.c_str()));
  // "Set0" and "SetFS" write the text; a text the user is typing stays.
  const QString text = QString::fromLatin1(c.strDataSend.c_str());
  if (strDataSend_->text() != text && !strDataSend_->hasFocus()) strDataSend_->setText(text);
  set0_->setEnabled(c.set0Enabled);
  setFS_->setEnabled(c.setFSEnabled);
  QStringList lines;
  for (const std::string& line : c.memo3) lines << QString::fromLatin1(line.c_str());
  const QString memo = lines.join('\n');
  if (memo3_->toPlainText() != memo) memo3_->setPlainText(memo);
}

}  // namespace vantor
