#pragma once
// PanelQX3 on the weight page: CmdList, "GetStPar", "SetStPar", the value to
// write QX3SetPar and the module's answer QX3Par. Button5 sends the line
// simulator's reader 0 barcode, as SetBar0 does.
#include <QGroupBox>
#include <cstdint>

#include "app/device.h"

class QComboBox;
class QLineEdit;

namespace vantor {

class Qx3PanelBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit Qx3PanelBox(Device& device, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  Device& device_;
  QComboBox* cmdList_ = nullptr;
  QLineEdit* qx3Par_ = nullptr;
};

}  // namespace vantor
