#include "ui/sim_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"

namespace vantor {

namespace {
QString latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void showLatin1(QLineEdit* edit, const std::string& text) {
  const QString shown = latin1(text);
  if (edit->text() != shown) edit->setText(shown);
}

}  // namespace

SimBox::SimBox(Device& device, QWidget* parent)
    : QGroupBox(QStringLiteral("SimBox"), parent), device_(device) {
  setObjectName(QStringLiteral("SimBox"));
  LineSimulator& sim = device_.lineSimulator;
  LineSimControls& c = sim.controls;
  auto* grid = new QGridLayout(this);

  barCode0_ = edit("BarCode0", QStringLiteral("Barcode of reader 0"), &LineSimControls::barCode0);
  grid->addWidget(barCode0_, 0, 0);
  grid->addWidget(button("SetBar0", QStringLiteral("SetBarCode"),
                         QStringLiteral("Send reader 0's barcode (a new serial with SeqSer)"),
                         [&sim] { sim.SetBar0Click(); }),
                  0, 1);
  barCode1_ = edit("BarCode1", QStringLiteral("Barcode of reader 1"), &LineSimControls::barCode1);
  grid->addWidget(barCode1_, 1, 0);
  setBar1_ = button("SetBar1", QStringLiteral("SetBarCode"),
                    QStringLiteral("Send reader 1's barcode (a new serial with SeqSer)"),
                    [&sim] { sim.SetBar1Click(); });
  grid->addWidget(setBar1_, 1, 1);
  checkBox1_ = new QCheckBox(QStringLiteral("2nd Barcode"), this);
  checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
  checkBox1_->setToolTip(QStringLiteral("Two barcode readers: the reader's number goes first"));
  checkBox1_->setChecked(c.checkBox1);
  connect(checkBox1_, &QCheckBox::toggled, this,
          [this](bool on) { runGuarded(this, [&] { device_.lineSimulator.CheckBox1Click(on); }); });
  grid->addWidget(checkBox1_, 0, 2, 1, 2);

  seqSer_ = new QCheckBox(QStringLiteral("SeqSer"), this);
  seqSer_->setObjectName(QStringLiteral("SeqSer"));
  seqSer_->setToolTip(QStringLiteral("Serial barcodes: Edit1 and a counter that starts at 1"));
  seqSer_->setChecked(c.seqSer);
  connect(seqSer_, &QCheckBox::toggled, this,
          [this](bool on) { runGuarded(this, [&] { device_.lineSimulator.SeqSerClick(on); }); });
  grid->addWidget(seqSer_, 1, 2);
  auto* lenSer = new QSpinBox(this);
  lenSer->setObjectName(QStringLiteral("LenSer"));
  lenSer->setToolTip(QStringLiteral("Serial digits of reader 0"));
  lenSer->setRange(0, LineSimulator::kMaxLenSer);
  lenSer->setValue(c.lenSer);
  connect(lenSer, &QSpinBox::valueChanged, this,
          [this](int v) { device_.lineSimulator.controls.lenSer = v; });
  grid->addWidget(lenSer, 1, 3);
  auto* bccOn = new QCheckBox(QStringLiteral("BCC On"), this);
  bccOn->setObjectName(QStringLiteral("BCCOn"));
  bccOn->setToolTip(QStringLiteral("A check digit after reader 0's serial code"));
  bccOn->setChecked(c.bccOn);
  connect(bccOn, &QCheckBox::toggled, this,
          [this](bool on) { device_.lineSimulator.controls.bccOn = on; });
  grid->addWidget(bccOn, 2, 2, 1, 2);
  edit1_ = edit("Edit1", QStringLiteral("Serial prefix: the chosen product's code"),
                &LineSimControls::edit1);
  grid->addWidget(edit1_, 2, 0);
  edit3_ =
      edit("Edit3", QStringLiteral("The chosen product's description"), &LineSimControls::edit3);
  edit3_->setReadOnly(true);
  grid->addWidget(edit3_, 2, 1);

  auto* pesoSet = new QSpinBox(this);
  pesoSet->setObjectName(QStringLiteral("PesoSet"));
  pesoSet->setToolTip(QStringLiteral("Weight to inject, grams"));
  pesoSet->setRange(0, LineSimulator::kMaxPeso);
  pesoSet->setValue(c.pesoSet);
  connect(pesoSet, &QSpinBox::valueChanged, this,
          [this](int v) { device_.lineSimulator.controls.pesoSet = v; });
  grid->addWidget(pesoSet, 3, 0);
  grid->addWidget(button("SetPeso", QStringLiteral("SetPeso"),
                         QStringLiteral("Inject PesoSet as the next weighed box"),
                         [&sim] { sim.SetPesoClick(); }),
                  3, 1);
  grid->addWidget(button("AutoFill", QStringLiteral("AutoFill"),
                         QStringLiteral("Fill every free product slot with a test product "
                                        "(kept here until the products are written)"),
                         [&sim] { sim.AutoFillClick(); }),
                  3, 2);
  grid->addWidget(button("SetEEprom", QStringLiteral("SetEEprom"),
                         QStringLiteral("Send the device's SetEEprom command"),
                         [this] { device_.memoryAccess.SetEEpromClick(); }),
                  3, 3);
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("SimBoxMessage"));
  message_->setWordWrap(true);
  grid->addWidget(message_, 4, 0, 1, 4);
  repaintAreas(bit(Area::Products));
}

QLineEdit* SimBox::edit(const char* name, const QString& tip, std::string LineSimControls::*field) {
  auto* e = new QLineEdit(this);
  e->setObjectName(QString::fromLatin1(name));
  e->setToolTip(tip);
  e->setMaxLength(LineSimulator::kMaxBarcode);
  e->setMinimumWidth(80);
  connect(e, &QLineEdit::textEdited, this, [this, field](const QString& text) {
    device_.lineSimulator.controls.*field = text.toLatin1().toStdString();
  });
  return e;
}

QPushButton* SimBox::button(const char* name, const QString& caption, const QString& tip,
                            std::function<void()> action) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(tip);
  connect(b, &QPushButton::clicked, this,
          [this, action = std::move(action)] { runGuarded(this, action); });
  return b;
}

void SimBox::repaintAreas(uint32_t areas) {
  if (!(areas & bit(Area::Products))) return;
  const LineSimControls& c = device_.lineSimulator.controls;
  showLatin1(barCode0_, c.barCode0);
  showLatin1(barCode1_, c.barCode1);
  showLatin1(edit1_, c.edit1);
  showLatin1(edit3_, c.edit3);
  if (checkBox1_->isChecked() != c.checkBox1) checkBox1_->setChecked(c.checkBox1);
  if (seqSer_->isChecked() != c.seqSer) seqSer_->setChecked(c.seqSer);
  barCode1_->setVisible(c.checkBox1);
  setBar1_->setVisible(c.checkBox1);
  const QString message = latin1(c.message);
  if (message_->text() != message) message_->setText(message);
}

}  // namespace vantor
