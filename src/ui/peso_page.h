#pragma once
// The weight page "PesoPage": for now the QX3 weighing module's panel.
#include <QWidget>
#include <cstdint>

#include "app/device.h"

namespace vantor {

class Qx3PanelBox;

class PesoPage : public QWidget {
  Q_OBJECT

 public:
  explicit PesoPage(Device& device, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  Qx3PanelBox* panelQx3_ = nullptr;
};

}  // namespace vantor
