#pragma once
// The "Printer" page: binds its controls to the LabelPrinter and
// PrinterChannel features of the device.
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/device.h"
#include "ui/memo_view.h"
#include "ui/window_settings.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QComboBox;
class QPlainTextEdit;
class QTableWidget;

namespace vantor {

class ValueGrid;

class PrinterPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMemoLines = 5000;

  PrinterPage(Device& device, WindowSettings& settings, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  void build();
  void paint();
  void loadLabel();

  Device& device_;
  WindowSettings& settings_;
  QPushButton *sendPrt_ = nullptr, *sendPrtP_ = nullptr;
  QLabel *msgPrt_ = nullptr, *progress_ = nullptr;
  QSpinBox *labelId_ = nullptr, *labelIdProd_ = nullptr;
  QTableWidget* gridPrValid_ = nullptr;
  ValueGrid* gridErLb_ = nullptr;
  QComboBox* comboBox1_ = nullptr;
  std::unique_ptr<MemoView> memo5_;
};

}  // namespace vantor
