#pragma once
// rw4000-sim as a child process of a test or benchmark, on one loopback
// address. The constructor waits for the simulator's "listening" line (never
// a fixed sleep); the destructor stops it by its handle.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace rwsim {

class SimProcess {
 public:
  // faults: fault modes to start with; extraArgs: further options, e.g. {"--tables", "full"}.
  explicit SimProcess(const QString& host, const QStringList& faults = {},
                      const QStringList& extraArgs = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // True once it printed "rw4000-sim listening on HOST".
  bool ready() const { return ready_; }
  // Sends a control line ("fault MODE", "clear") to its standard input.
  void control(const QString& line);
  // SIGTERM, then the exit code (0 for a clean stop; -1 when it had to be killed).
  int stop();

 private:
  QProcess process_;
  bool ready_ = false;
};

}  // namespace rwsim
