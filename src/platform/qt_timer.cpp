#include "platform/qt_timer.h"

namespace vantor {

QtTimer::QtTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (tick_) tick_();
  });
}

void QtTimer::setEnabled(bool on) {
  if (on && !timer_.isActive()) timer_.start();
  if (!on) timer_.stop();
}

}  // namespace vantor
