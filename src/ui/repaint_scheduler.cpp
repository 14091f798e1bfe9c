#include "ui/repaint_scheduler.h"

namespace vantor {

RepaintScheduler::RepaintScheduler(std::function<void(uint32_t)> paint, QObject* parent)
    : QObject(parent), paint_(std::move(paint)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { flush(); });
}

void RepaintScheduler::mark(Area area) {
  dirty_ |= bit(area);
  if (!timer_.isActive()) timer_.start();
}

void RepaintScheduler::flush() {
  timer_.stop();
  const uint32_t areas = dirty_;
  dirty_ = 0;
  if (areas == 0) return;
  ++paints_;
  paint_(areas);
}

}  // namespace vantor
