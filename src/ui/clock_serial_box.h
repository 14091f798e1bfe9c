#pragma once
// The Time and Comm groups of the "QX7" page over ClockSerial: DateStr with
// "GetTime" and "SetTime"; PortSel, EndCh, StrDataSend, "SetStr", "GetRx",
// the alternating "Set0"/"SetFS" and Memo3 with the last receive buffer.
#include <QWidget>
#include <cstdint>

#include "app/device.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace vantor {

class ClockSerialBox : public QWidget {
  Q_OBJECT

 public:
  explicit ClockSerialBox(Device& device, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  QPushButton* button(const char* caption, QWidget* parent, void (ClockSerial::*click)());
  void paint();

  Device& device_;
  QLineEdit* dateStr_ = nullptr;
  QSpinBox* portSel_ = nullptr;
  QSpinBox* endCh_ = nullptr;
  QLineEdit* strDataSend_ = nullptr;
  QPushButton* set0_ = nullptr;
  QPushButton* setFS_ = nullptr;
  QPlainTextEdit* memo3_ = nullptr;
};

}  // namespace vantor
