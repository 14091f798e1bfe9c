#pragma once
// Child processes of the end-to-end tests: the simulator on its own loopback
// address, and one run of vantorctl. Waits are on the processes' own events.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

#include "launcher/sim_process.h"

namespace vantor::e2e {

using rwsim::SimProcess;

struct CtlResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  int64_t elapsedMs = -1;  // from the start to the end of the run
};

// Runs vantorctl with these arguments to its end.
CtlResult runCtl(const QStringList& args, int waitMs = 30000);

// Runs vantorctl with its standard error on a pseudo-terminal, as in an
// interactive shell (its standard output stays a pipe); `err` is what the
// terminal received, its line ends as CR LF. `watch`, if given, is called with
// the terminal's text so far whenever more arrives, on the calling thread.
CtlResult runCtlOnTerminal(const QStringList& args,
                           const std::function<void(const std::string&)>& watch = {},
                           int waitMs = 30000);

}  // namespace vantor::e2e
