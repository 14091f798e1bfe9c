#pragma once
// The "SimBox" group of the product page: the line simulator's barcode
// readers, serial numbering, injected weight, AutoFill and SetEEprom. Edits
// and check boxes write the core's controls as they change; the box repaints
// from them on Area::Products. Texts are bytes on the wire, so the edits
// carry Latin-1.
#include <QGroupBox>
#include <cstdint>
#include <functional>
#include <string>

#include "app/device.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantor {

class SimBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit SimBox(Device& device, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  QLineEdit* edit(const char* name, const QString& tip, std::string LineSimControls::*field);
  QPushButton* button(const char* name, const QString& caption, const QString& tip,
                      std::function<void()> action);

  Device& device_;
  QLineEdit* barCode0_ = nullptr;
  QLineEdit* barCode1_ = nullptr;
  QPushButton* setBar1_ = nullptr;
  QCheckBox* checkBox1_ = nullptr;
  QCheckBox* seqSer_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit3_ = nullptr;
  QLabel* message_ = nullptr;
};

}  // namespace vantor
