#include "ui/peso_page.h"

#include <QVBoxLayout>

#include "ui/qx3_panel_box.h"

namespace vantor {

PesoPage::PesoPage(Device& device, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  panelQx3_ = new Qx3PanelBox(device, this);
  layout->addWidget(panelQx3_);
  layout->addStretch();
}

void PesoPage::repaintAreas(uint32_t areas) { panelQx3_->repaintAreas(areas); }

}  // namespace vantor
