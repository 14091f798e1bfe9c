#pragma once
// The "Login" page: binds LoginUserTab, the PswSel overlay and the buttons to
// the UserLogins feature.
#include <QWidget>
#include <cstdint>

#include "app/device.h"

class QCheckBox;
class QLineEdit;

namespace vantor {

class ValueGrid;

class LoginPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kColumnWidths[] = {62, 119, 120, 120};
  static constexpr int kRowHeight = 20;

  explicit LoginPage(Device& device, QWidget* parent = nullptr);

  void repaintAreas(uint32_t areas);

 private:
  void cellClicked(int row, int column);
  void placeOverlay();

  Device& device_;
  ValueGrid* grid_ = nullptr;
  QLineEdit* lSelUser_ = nullptr;
  QLineEdit* pswSel_ = nullptr;
  QCheckBox* visSgn_ = nullptr;
};

}  // namespace vantor
