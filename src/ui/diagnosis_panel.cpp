#include "ui/diagnosis_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/guarded.h"
#include "ui/show_text.h"

namespace vantor {

namespace {

template <typename W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLineEdit* readOut(const char* name, const char* text, int chars) {
  auto* edit = named(new QLineEdit(QString::fromLatin1(text)), name);
  edit->setReadOnly(true);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 16);
  return edit;
}

}  // namespace

DiagnosisPanel::DiagnosisPanel(Device& device, QWidget* parent)
    : QWidget(parent),
      device_(device),
      mem_(device.memoryAccess.controls),
      aux_(device.auxSocket.controls) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(makeLogRow());
  auto* middle = new QHBoxLayout;
  middle->addWidget(makeRamGroup());
  middle->addWidget(makePanel2());
  middle->addStretch();
  layout->addLayout(middle);
  layout->addWidget(makeEepromGroup());
  layout->addWidget(makeCommandRow());
  repaint();
}

void DiagnosisPanel::guarded(const std::function<void()>& handler) { runGuarded(this, handler); }

QWidget* DiagnosisPanel::makeLogRow() {
  auto* row = named(new QWidget, "LogRow");
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  getLog_ = named(new QPushButton(QStringLiteral("Get LOG")), "GetLog");
  progressBarLog_ = named(new QProgressBar, "ProgressBarLog");
  progressBarLog_->setRange(0, 500);
  progressBarLog_->setTextVisible(false);
  progressBarLog_->setMinimumWidth(120);
  logProgress_ = named(new QLabel, "LogProgress");
  logProgress_->setMinimumWidth(
      logProgress_->fontMetrics().horizontalAdvance(QStringLiteral("block 501 of 501, ETA 00:00")));
  h->addWidget(getLog_);
  h->addWidget(progressBarLog_, 1);
  h->addWidget(logProgress_, 2);
  connect(getLog_, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.eventLog.GetLogClick(); }); });
  return row;
}

QWidget* DiagnosisPanel::makeRamGroup() {
  auto* box = named(new QGroupBox(QStringLiteral("RAM Control")), "GroupRAM");
  auto* g = new QGridLayout(box);
  addRAM_ = named(new QSpinBox, "AddRAM");
  addRAM_->setRange(0, 2147483647);
  addRAM_->setSingleStep(4);
  hiAdd_ = named(new QCheckBox(QStringLiteral("HiAdd")), "HiAdd");
  addrRAM_ = readOut("AddrRAM", "00", 8);
  addrRAM_->setEnabled(false);
  dataRAM_ = named(new QLineEdit(QStringLiteral("Data")), "DataRAM");
  dataRAM_->setFixedWidth(addrRAM_->width() + 10);
  dataX_ = readOut("DataX", "", 8);
  auto* rd = named(new QPushButton(QStringLiteral("RD")), "RD_RAM");
  auto* wr = named(new QPushButton(QStringLiteral("WR")), "WR_RAM");
  memMessage_ = named(new QLabel, "MemMessage");
  memMessage_->setWordWrap(true);
  g->addWidget(addRAM_, 0, 0);
  g->addWidget(hiAdd_, 0, 1);
  g->addWidget(addrRAM_, 0, 2);
  g->addWidget(dataRAM_, 1, 0);
  g->addWidget(dataX_, 1, 1, 1, 2);
  g->addWidget(rd, 2, 0);
  g->addWidget(wr, 2, 1);
  g->addWidget(memMessage_, 3, 0, 1, 3);
  auto addressChanged = [this] {
    mem_.addRAM = static_cast<uint32_t>(addRAM_->value());
    mem_.hiAdd = hiAdd_->isChecked();
    guarded([this] { device_.memoryAccess.AddRAMChange(); });
  };
  connect(addRAM_, &QSpinBox::valueChanged, this, addressChanged);
  connect(hiAdd_, &QCheckBox::clicked, this, addressChanged);
  connect(dataRAM_, &QLineEdit::textEdited, this,
          [this](const QString& t) { mem_.dataRAM = t.toStdString(); });
  connect(rd, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.memoryAccess.RD_RAMClick(); }); });
  connect(wr, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.memoryAccess.WR_RAMClick(); }); });
  return box;
}

QWidget* DiagnosisPanel::makeEepromGroup() {
  auto* box = named(new QGroupBox(QStringLiteral("EEPROM Control")), "GroupEEPROM");
  auto* v = new QVBoxLayout(box);
  auto* top = new QHBoxLayout;
  addEEP_ = named(new QSpinBox, "AddEEP");
  addEEP_->setRange(0, 16777215);
  addEEPx_ = readOut("AddEEPx", "00", 8);
  addEEPx_->setEnabled(false);
  numBPg_ = named(new QSpinBox, "NumBPg");
  numBPg_->setRange(1, 128);
  auto* rd = named(new QPushButton(QStringLiteral("RD")), "RD_EEP");
  auto* wr = named(new QPushButton(QStringLiteral("WR")), "VR_EEP");
  dataEEP_ = readOut("DataEEP", "", 3);
  stEEP_ = readOut("StEEP", "", 3);
  top->addWidget(addEEP_);
  top->addWidget(addEEPx_);
  top->addWidget(numBPg_);
  top->addWidget(rd);
  top->addWidget(wr);
  top->addWidget(dataEEP_);
  top->addWidget(stEEP_);
  top->addStretch();
  v->addLayout(top);

  memEEpPag_ = named(new QTableWidget(kEepRows, kEepColumns), "MemEEpPag");
  memEEpPag_->horizontalHeader()->hide();
  memEEpPag_->verticalHeader()->hide();
  for (int c = 0; c < kEepColumns; ++c) memEEpPag_->setColumnWidth(c, 30);
  for (int r = 0; r < kEepRows; ++r) memEEpPag_->setRowHeight(r, 18);
  memEEpPag_->horizontalHeader()->setMinimumSectionSize(10);
  memEEpPag_->verticalHeader()->setMinimumSectionSize(10);
  const int frame = 2 * memEEpPag_->frameWidth();
  memEEpPag_->setFixedSize(30 * kEepColumns + frame, 18 * kEepRows + frame);
  memEEpPag_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memEEpPag_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int r = 0; r < kEepRows; ++r)
    for (int c = 0; c < kEepColumns; ++c) memEEpPag_->setItem(r, c, new QTableWidgetItem);
  v->addWidget(memEEpPag_);

  connect(addEEP_, &QSpinBox::valueChanged, this, [this](int value) {
    mem_.addEEP = static_cast<uint32_t>(value);
    guarded([this] { device_.memoryAccess.AddEEPChange(); });
  });
  connect(numBPg_, &QSpinBox::valueChanged, this, [this](int value) {
    mem_.numBPg = value;
    guarded([this] { device_.memoryAccess.AddEEPChange(); });
  });
  connect(rd, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.memoryAccess.RD_EEPClick(); }); });
  connect(wr, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.memoryAccess.VR_EEPClick(); }); });
  connect(memEEpPag_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (painting_) return;
    mem_.memEEpPag[static_cast<size_t>(item->row() * kEepColumns + item->column())] =
        item->text().toStdString();
  });
  return box;
}

QWidget* DiagnosisPanel::makePanel2() {
  auto* box = named(new QGroupBox(QStringLiteral("SelPort")), "Panel2");
  auto* g = new QGridLayout(box);
  selPort_ = new QButtonGroup(box);
  selPort_->setObjectName(QStringLiteral("SelPort"));
  const char* items[] = {"Van", "Mob", "Int"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = named(new QRadioButton(QString::fromLatin1(items[i])),
                        i == 0 ? "SelPortVan" : (i == 1 ? "SelPortMob" : "SelPortInt"));
    selPort_->addButton(radio, i);
    g->addWidget(radio, i, 0);
  }
  lan3On_ = named(new QPushButton(QStringLiteral("Connect")), "Lan3On");
  lan3Off_ = named(new QPushButton(QStringLiteral("Disconnect")), "Lan3Off");
  lan3Send_ = named(new QPushButton(QStringLiteral("Kill")), "Lan3Send");
  lan3Txt_ = readOut("Lan3Txt", "Lan3Txt", 8);
  g->addWidget(lan3On_, 0, 1);
  g->addWidget(lan3Off_, 1, 1);
  g->addWidget(lan3Send_, 2, 1);
  g->addWidget(lan3Txt_, 3, 0, 1, 2);
  connect(selPort_, &QButtonGroup::idClicked, this, [this](int id) { aux_.selPort = id; });
  connect(lan3On_, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.auxSocket.Lan3OnClick(); }); });
  connect(lan3Off_, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.auxSocket.Lan3OffClick(); }); });
  connect(lan3Send_, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.auxSocket.Lan3SendClick(); }); });
  return box;
}

QWidget* DiagnosisPanel::makeCommandRow() {
  auto* row = named(new QWidget, "CommandRow");
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  auto* getBarCode = named(new QPushButton(QStringLiteral("GetBarCode")), "GetBarCode");
  auto* button3 = named(new QPushButton(QStringLiteral("Button3")), "Button3");
  cSpinEdit1_ = named(new QSpinBox, "CSpinEdit1");
  cSpinEdit1_->setRange(0, 255);
  h->addWidget(getBarCode);
  h->addWidget(button3);
  h->addWidget(cSpinEdit1_);
  h->addStretch();
  connect(getBarCode, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.memoryAccess.GetBarCodeClick(); }); });
  connect(cSpinEdit1_, &QSpinBox::valueChanged, this, [this](int v) { aux_.cSpinEdit1 = v; });
  connect(button3, &QPushButton::clicked, this,
          [this] { guarded([this] { device_.auxSocket.Button3Click(); }); });
  return row;
}

void DiagnosisPanel::repaint() {
  const EventLogControls& log = device_.eventLog.controls;
  if (progressBarLog_->value() != log.progressBarLog) progressBarLog_->setValue(log.progressBarLog);
  setIfChanged(logProgress_, log.progressText);

  setIfChanged(addrRAM_, mem_.addrRAM);
  if (!dataRAM_->hasFocus()) setIfChanged(dataRAM_, mem_.dataRAM);
  setIfChanged(dataX_, mem_.dataX);
  setIfChanged(memMessage_, mem_.message);
  setIfChanged(addEEPx_, mem_.addEEPx);
  setIfChanged(dataEEP_, mem_.dataEEP);
  setIfChanged(stEEP_, mem_.stEEP);
  painting_ = true;
  for (int r = 0; r < kEepRows; ++r)
    for (int c = 0; c < kEepColumns; ++c) {
      QTableWidgetItem* item = memEEpPag_->item(r, c);
      const QString text =
          QString::fromStdString(mem_.memEEpPag[static_cast<size_t>(r * kEepColumns + c)]);
      if (item->text() != text) item->setText(text);
    }
  painting_ = false;

  lan3On_->setEnabled(aux_.lan3OnEnabled);
  lan3Off_->setEnabled(aux_.lan3OffEnabled);
  lan3Send_->setEnabled(aux_.lan3SendEnabled);
  setIfChanged(lan3Txt_, aux_.lan3Txt);
}

}  // namespace vantor
