#pragma once
// The real seams: Qt sockets and timers on the calling thread's event loop,
// the steady clock and the local date and time.
#include "link/seams.h"

namespace vantor {

class SystemClock final : public Clock {
 public:
  int64_t monotonicMs() const override;
  LocalTime localTime() const override;
};

class QtSeams final : public Seams {
 public:
  std::unique_ptr<Socket> makeSocket() override;
  std::unique_ptr<Timer> makeTimer() override;
  Clock& clock() override { return clock_; }

 private:
  SystemClock clock_;
};

}  // namespace vantor
