#pragma once
// The "QX7" page: the remote terminal (Qx7Terminal) with the two menu markers
// LnMenu and BrMenu, set by the status poll, and the clock and serial
// pass-through (ClockSerialBox).
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"

namespace Ui {
class Qx7Page;
}

namespace vantor {

class ClockSerialBox;
class Qx7Terminal;

class Qx7Page : public QWidget {
  Q_OBJECT

 public:
  Qx7Page(Device& device, QWidget* parent = nullptr);
  ~Qx7Page() override;

  void repaintAreas(uint32_t areas);
  int lnMenuIndex() const;
  int brMenuIndex() const;

 signals:
  void callFwClicked();  // the "FW" button

 private:
  Device& device_;
  std::unique_ptr<Ui::Qx7Page> ui_;
  Qx7Terminal* terminal_ = nullptr;
  ClockSerialBox* clockSerial_ = nullptr;
};

}  // namespace vantor
