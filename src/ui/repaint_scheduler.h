#pragma once
// Coalesces the core's change reports: Shell::onChange marks areas as dirty
// and a short single-shot timer repaints them together, so a fast stream of
// replies costs one repaint per interval instead of one per reply.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "link/shell.h"

namespace vantor {

class RepaintScheduler : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDelayMs = 40;

  RepaintScheduler(std::function<void(uint32_t areas)> paint, QObject* parent = nullptr);

  void mark(Area area);
  // Repaints what is dirty now (the timer then has nothing left to do).
  void flush();

  int paints() const { return paints_; }
  bool pending() const { return dirty_ != 0; }

 private:
  std::function<void(uint32_t)> paint_;
  QTimer timer_;
  uint32_t dirty_ = 0;
  int paints_ = 0;
};

inline constexpr uint32_t bit(Area a) { return static_cast<uint32_t>(a); }
inline constexpr uint32_t kAllAreas = 0xFFFFFFFFu;

}  // namespace vantor
