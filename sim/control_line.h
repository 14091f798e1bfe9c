#pragma once

// The run-time control language read on standard input, one command a line:
//   fault MODE   turn on a fault mode
//   clear        turn every fault mode off
//   integrator send CODE   send device request CODE on the integrator link

#include <string>
#include <string_view>

#include "fault_set.h"

namespace rwsim {

struct ControlResult {
  bool changed = false;     // the fault set was modified
  std::string message;      // what to tell the operator
  int integratorSend = -1;  // "integrator send CODE": the request to send
};

ControlResult applyControlLine(FaultSet& faults, std::string_view line);

}  // namespace rwsim
