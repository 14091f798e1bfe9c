#include "processes.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <cerrno>

namespace vantor::e2e {

namespace {

void collect(QProcess& ctl, CtlResult& r, const QElapsedTimer& clock) {
  r.elapsedMs = clock.elapsed();
  r.exitCode = ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
  r.out = ctl.readAllStandardOutput().toStdString();
}

void stopAfterTimeout(QProcess& ctl) {
  ctl.kill();
  ctl.waitForFinished();
}

// Appends to `text` what the terminal has within `waitMs`; false once it has
// no writer left and nothing more to read, or nothing came in that time.
bool readTerminal(int master, std::string& text, int waitMs) {
  pollfd p{master, POLLIN, 0};
  if (::poll(&p, 1, waitMs) <= 0) return false;
  char buffer[4096];
  const ssize_t n = ::read(master, buffer, sizeof buffer);
  if (n <= 0) return n < 0 && errno == EINTR;  // EIO: the last writer is gone
  text.append(buffer, static_cast<size_t>(n));
  return true;
}

}  // namespace

CtlResult runCtl(const QStringList& args, int waitMs) {
  QProcess ctl;
  QElapsedTimer clock;
  clock.start();
  ctl.start(VANTORCTL_PATH, args);
  CtlResult r;
  if (!ctl.waitForFinished(waitMs)) {
    stopAfterTimeout(ctl);
    return r;
  }
  collect(ctl, r, clock);
  r.err = ctl.readAllStandardError().toStdString();
  return r;
}

CtlResult runCtlOnTerminal(const QStringList& args,
                           const std::function<void(const std::string&)>& watch, int waitMs) {
  CtlResult r;
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    if (master >= 0) ::close(master);
    return r;
  }
  const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal < 0) {
    ::close(master);
    return r;
  }
  QProcess ctl;
  // In the child, after its standard streams are set up and before exec: the
  // terminal becomes its standard error (dup2 leaves the copy open across exec).
  ctl.setChildProcessModifier([terminal] { ::dup2(terminal, STDERR_FILENO); });
  QElapsedTimer clock;
  clock.start();
  ctl.start(VANTORCTL_PATH, args);
  const bool started = ctl.waitForStarted();
  ::close(terminal);  // the child's copy is now the terminal's only writer
  if (!started) {
    ::close(master);
    return r;
  }
  QDeadlineTimer deadline(waitMs);
  bool finished = false;
  while (!finished && !deadline.hasExpired()) {
    const size_t before = r.err.size();
    readTerminal(master, r.err, 20);
    if (watch && r.err.size() > before) watch(r.err);
    finished = ctl.waitForFinished(0);
  }
  if (!finished) {
    stopAfterTimeout(ctl);
    ::close(master);
    return CtlResult{};
  }
  collect(ctl, r, clock);
  // Whatever the run wrote is in the terminal's buffer by now.
  while (readTerminal(master, r.err, 100)) {
  }
  ::close(master);
  return r;
}

}  // namespace vantor::e2e
