#pragma once
// The "QX7" page. Of the remote terminal only the two menu markers
// are here yet: LnMenu and BrMenu, set by the status poll.
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"

namespace Ui {
class Qx7Page;
}

namespace vantor {

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
};

}  // namespace vantor
