#include "ui/system_bin_page.h"

#include "ui/repaint_scheduler.h"
#include "ui_system_bin_page.h"

namespace vantor {

SystemBinPage::SystemBinPage(Device& device, QWidget* parent)
    : QWidget(parent), device_(device), ui_(std::make_unique<Ui::SystemBinPage>()) {
  ui_->setupUi(this);
}

SystemBinPage::~SystemBinPage() = default;

void SystemBinPage::repaintAreas(uint32_t areas) {
  if (!(areas & bit(Area::LiveStatus))) return;
  const QString text = QString::fromStdString(device_.liveStatus.fields().timPes);
  if (ui_->TimPes->text() != text) ui_->TimPes->setText(text);
}

}  // namespace vantor
