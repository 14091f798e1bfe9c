#pragma once
// Child processes of the end-to-end tests: the simulator on its own loopback
// address, and one run of vantorctl. Waits are on the processes' own events.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

namespace vantor::e2e {

// rw4000-sim started on HOST; ready once it printed its listening line.
class SimProcess {
 public:
  explicit SimProcess(const QString& host, const QStringList& faults = {});
  ~SimProcess();
  bool ready() const { return ready_; }
  // Sends a control line ("fault MODE", "clear") to the simulator.
  void control(const QString& line);
  void stop();

 private:
  QProcess process_;
  bool ready_ = false;
};

struct CtlResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs vantorctl with these arguments to its end.
CtlResult runCtl(const QStringList& args, int waitMs = 30000);

}  // namespace vantor::e2e
