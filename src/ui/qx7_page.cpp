#include "ui/qx7_page.h"

#include <QPushButton>
#include <QRadioButton>

#include "ui/clock_serial_box.h"
#include "ui/qx7_terminal.h"
#include "ui/repaint_scheduler.h"
#include "ui_qx7_page.h"

namespace vantor {

namespace {
QRadioButton* item(QWidget* group, const char* prefix, int index) {
  return group->findChild<QRadioButton*>(
      QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(index));
}
int checkedIndex(QWidget* group, const char* prefix, int count) {
  for (int i = 0; i < count; ++i)
    if (item(group, prefix, i)->isChecked()) return i;
  return -1;
}
}  // namespace

Qx7Page::Qx7Page(Device& device, QWidget* parent)
    : QWidget(parent), device_(device), ui_(std::make_unique<Ui::Qx7Page>()) {
  ui_->setupUi(this);
  item(ui_->LnMenu, "LnMenu", 0)->setChecked(true);
  item(ui_->BrMenu, "BrMenu", 0)->setChecked(true);
  terminal_ = new Qx7Terminal(device_, *ui_, this);
  clockSerial_ = new ClockSerialBox(device_, this);
  ui_->qx7Row->insertWidget(1, clockSerial_, 0, Qt::AlignTop);
  ui_->qx7Row->addStretch();
  connect(ui_->CallFW, &QPushButton::clicked, this, &Qx7Page::callFwClicked);
}

Qx7Page::~Qx7Page() = default;

void Qx7Page::repaintAreas(uint32_t areas) {
  terminal_->repaintAreas(areas);
  clockSerial_->repaintAreas(areas);
  if (!(areas & bit(Area::LiveStatus))) return;
  const LiveStatusFields& f = device_.liveStatus.fields();
  item(ui_->LnMenu, "LnMenu", f.lnMenu)->setChecked(true);
  item(ui_->BrMenu, "BrMenu", f.brMenu)->setChecked(true);
}

int Qx7Page::lnMenuIndex() const {
  return checkedIndex(ui_->LnMenu, "LnMenu", LiveStatus::kLnMenuItems);
}
int Qx7Page::brMenuIndex() const {
  return checkedIndex(ui_->BrMenu, "BrMenu", LiveStatus::kBrMenuItems);
}

}  // namespace vantor
