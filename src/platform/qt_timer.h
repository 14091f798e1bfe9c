#pragma once
// The core's Timer over a QTimer. Enabling a running timer leaves it running
// on its current period.
#include <QTimer>

#include "link/seams.h"

namespace vantor {

class QtTimer final : public Timer {
 public:
  QtTimer();
  void setCallback(std::function<void()> tick) override { tick_ = std::move(tick); }
  void setInterval(int ms) override { timer_.setInterval(ms); }
  int interval() const override { return timer_.interval(); }
  void setEnabled(bool on) override;
  bool enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
  std::function<void()> tick_;
};

}  // namespace vantor
