#include "ui/qx3_panel_box.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/guarded.h"
#include "ui/repaint_scheduler.h"

namespace vantor {

Qx3PanelBox::Qx3PanelBox(Device& device, QWidget* parent)
    : QGroupBox(QStringLiteral("QX3"), parent), device_(device) {
  setObjectName(QStringLiteral("PanelQX3"));
  auto* row = new QHBoxLayout(this);
  Qx3PanelControls& c = device_.qx3Panel.controls;

  cmdList_ = new QComboBox(this);
  cmdList_->setObjectName(QStringLiteral("CmdList"));
  for (const char* item : qx3Commands()) cmdList_->addItem(QString::fromLatin1(item));
  cmdList_->setCurrentIndex(c.cmdList);
  cmdList_->setPlaceholderText(QStringLiteral("Module command"));
  connect(cmdList_, &QComboBox::currentIndexChanged, this,
          [this](int index) { device_.qx3Panel.controls.cmdList = index; });
  row->addWidget(cmdList_);

  auto* get = new QPushButton(QStringLiteral("GetStPar"), this);
  get->setObjectName(QStringLiteral("GetStPar"));
  get->setToolTip(QStringLiteral("Query the chosen setting of the module"));
  connect(get, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { device_.qx3Panel.GetStParClick(); }); });
  row->addWidget(get);
  auto* set = new QPushButton(QStringLiteral("SetStPar"), this);
  set->setObjectName(QStringLiteral("SetStPar"));
  set->setToolTip(QStringLiteral("Write QX3SetPar to the chosen setting of the module"));
  connect(set, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { device_.qx3Panel.SetStParClick(); }); });
  row->addWidget(set);

  auto* value = new QLineEdit(this);
  value->setObjectName(QStringLiteral("QX3SetPar"));
  value->setToolTip(QStringLiteral("The value SetStPar writes"));
  value->setMaxLength(static_cast<int>(Qx3Panel::kPassThroughMax) - 3);
  connect(value, &QLineEdit::textEdited, this, [this](const QString& text) {
    device_.qx3Panel.controls.qx3SetPar = text.toLatin1().toStdString();
  });
  row->addWidget(value);
  qx3Par_ = new QLineEdit(this);
  qx3Par_->setObjectName(QStringLiteral("QX3Par"));
  qx3Par_->setReadOnly(true);
  qx3Par_->setToolTip(QStringLiteral("The module's last answer"));
  row->addWidget(qx3Par_, 1);

  auto* button5 = new QPushButton(QStringLiteral("Button5"), this);
  button5->setObjectName(QStringLiteral("Button5"));
  button5->setToolTip(QStringLiteral("Send the line simulator's reader 0 barcode"));
  connect(button5, &QPushButton::clicked, this,
          [this] { runGuarded(this, [this] { device_.lineSimulator.SetBar0Click(); }); });
  row->addWidget(button5);
}

void Qx3PanelBox::repaintAreas(uint32_t areas) {
  if (areas & bit(Area::Qx3Panel))
    qx3Par_->setText(QString::fromLatin1(device_.qx3Panel.controls.qx3Par.c_str()));
}

}  // namespace vantor
