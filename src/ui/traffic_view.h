#pragma once
// The main port's traffic log on the "Deb" page: the newest frames, one a
// line, with "Pause" (nothing is recorded while it is down), "Clear" and
// "Save..." (the held lines to a text file).
#include <QGroupBox>

#include "app/device.h"

class QPlainTextEdit;
class QPushButton;

namespace vantor {

class WindowSettings;

class TrafficView : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr int kShownLines = 2000;  // the view keeps the newest lines only

  // settings: where the save dialog starts; without them "Save..." is hidden.
  TrafficView(Device& device, WindowSettings* settings, QWidget* parent = nullptr);

  void repaint();

 private:
  void save();

  Device& device_;
  WindowSettings* settings_;
  QPlainTextEdit* view_ = nullptr;
  QPushButton* pause_ = nullptr;
  size_t shown_ = 0;  // records of TrafficLog::total() in the view
};

}  // namespace vantor
