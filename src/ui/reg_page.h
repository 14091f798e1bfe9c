#pragma once
// The "Sim Integrador" page: binds its controls to the Integrator feature.
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"
#include "ui/memo_view.h"

class QLineEdit;
class QSpinBox;
class QCheckBox;

namespace vantor {

class RegPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMemoLines = 5000;

  explicit RegPage(Device& device, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  Device& device_;
  QSpinBox *selReg_ = nullptr, *mobValCmd_ = nullptr, *selPeso_ = nullptr;
  QCheckBox* autoAck_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  std::unique_ptr<MemoView> memo2_, memo10_;
};

}  // namespace vantor
