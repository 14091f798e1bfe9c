#pragma once
// The remote terminal on the "QX7" page: Memo4 with the display terminal's
// screen beside LnMenu, KeyPanel and "ReadDisplay" in the group QX7
// (GroupBox3); the keypad terminal's keys in GroupBox4 ("QX5") and the check
// box QX5_On that shows one group or the other. While Memo4 has the focus the
// keyboard drives the display terminal (digits, arrows, Enter, Backspace),
// each key through the same lock-step as its button.
#include <QObject>
#include <cstdint>

#include "app/device.h"

class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace Ui {
class Qx7Page;
}

namespace vantor {

class Qx7Terminal : public QObject {
  Q_OBJECT

 public:
  // Places its widgets into the page's form: Memo4 beside LnMenu, above BrMenu;
  // GroupBox4 and QX5_On in one column with GroupBox3, which they take over.
  Qx7Terminal(Device& device, Ui::Qx7Page& ui, QWidget* page);

  void repaintAreas(uint32_t areas);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* keyButton(const TerminalKey& key, QWidget* parent);
  void press(const TerminalKey& key);
  void paint();

  Device& device_;
  Ui::Qx7Page& ui_;
  QPlainTextEdit* memo4_ = nullptr;
  QWidget* keyPanel_ = nullptr;
  QGroupBox* groupBox4_ = nullptr;
  QCheckBox* qx5On_ = nullptr;
};

}  // namespace vantor
