#pragma once
// Child processes of the end-to-end tests: the simulator on its own loopback
// address, and one run of vantorctl. Waits are on the processes' own events.
#include <QString>
#include <QStringList>
#include <string>

#include "launcher/sim_process.h"

namespace vantor::e2e {

using rwsim::SimProcess;

struct CtlResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs vantorctl with these arguments to its end.
CtlResult runCtl(const QStringList& args, int waitMs = 30000);

}  // namespace vantor::e2e
