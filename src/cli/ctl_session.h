#pragma once
// One run of a vantorctl command: a Device on the real sockets, its event loop,
// the deadline and the exit code.
#include <QCoreApplication>
#include <QTimer>
#include <memory>
#include <string>

#include "app/device.h"
#include "cli/exit_codes.h"
#include "platform/qt_seams.h"

namespace vantor {

class CtlSession;

// A command of vantorctl, driven by the session's events. Once the command
// finished or failed, the session tells it nothing more.
class CtlCommand {
 public:
  virtual ~CtlCommand() = default;
  // Called before anything is connected: reads and checks the command's input
  // files. A command that cannot run calls session.fail() and is not connected.
  virtual void prepare(CtlSession& session) { (void)session; }
  // Called once the main link is connected (the version and status requests are queued).
  virtual void connected(CtlSession& session) { (void)session; }
  // Called after the reply's handler ran.
  virtual void replied(CtlSession& session, int code, ByteView frame) = 0;
};

class CtlSession {
 public:
  // timeoutSeconds: more than 0 and at most a day (the command line refuses
  // other values).
  CtlSession(std::string host, double timeoutSeconds);
  ~CtlSession();

  // Prepares the command, connects, runs the event loop until the command
  // finishes, a failure or the deadline; returns the exit code.
  int run(CtlCommand& command);
  // Ends the run with this exit code; the first call counts.
  void finish(int code);
  // Prints "vantorctl: MESSAGE" on stderr and ends the run, unless it has ended already.
  void fail(int code, const std::string& message);
  bool done() const { return done_; }

  Device& device() { return *device_; }

 private:
  void deadlinePassed();

  std::string host_;
  double timeoutSeconds_;
  QtSeams seams_;
  std::unique_ptr<Device> device_;
  QTimer deadline_;
  CtlCommand* command_ = nullptr;  // while the command runs; none once it is done
  bool connectedOnce_ = false;
  int exitCode_ = kExitOk;
  bool done_ = false;
};

}  // namespace vantor
