#pragma once
// The "SystemBin" page. Of the configuration blocks only the
// weighing time TimPes of the status poll is here yet.
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"

namespace Ui {
class SystemBinPage;
}

namespace vantor {

class SystemBinPage : public QWidget {
  Q_OBJECT

 public:
  SystemBinPage(Device& device, QWidget* parent = nullptr);
  ~SystemBinPage() override;

  void repaintAreas(uint32_t areas);

 private:
  Device& device_;
  std::unique_ptr<Ui::SystemBinPage> ui_;
};

}  // namespace vantor
