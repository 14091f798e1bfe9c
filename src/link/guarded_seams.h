#pragma once
// Seams whose sockets and timers never let an exception escape into the event
// loop that drives them: whatever a listener or a timer callback throws becomes
// the shell's alert, and the event ends there. Every feature gets its sockets and
// timers from these seams, so none of them needs its own guard.
#include <memory>

#include "link/seams.h"
#include "link/shell.h"

namespace vantor {

class GuardedSeams final : public Seams {
 public:
  GuardedSeams(Seams& inner, Shell& shell) : inner_(inner), shell_(shell) {}
  std::unique_ptr<Socket> makeSocket() override;
  std::unique_ptr<Timer> makeTimer() override;
  Clock& clock() override { return inner_.clock(); }

 private:
  Seams& inner_;
  Shell& shell_;
};

// Runs `event`; an exception it throws is shown through the shell's alert.
void runEventGuarded(Shell& shell, const std::function<void()>& event);

}  // namespace vantor
