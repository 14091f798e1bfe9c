#pragma once
// One run of a vantorctl command: a Device on the real sockets, its event loop,
// the deadline and the exit code.
#include <QCoreApplication>
#include <QTimer>
#include <memory>
#include <string>

#include "app/device.h"
#include "platform/qt_seams.h"

namespace vantor {

enum CtlExit { kExitOk = 0, kExitConnection = 1, kExitUsage = 2, kExitNoReply = 3, kExitFile = 4 };

class CtlSession;

// A command of vantorctl, driven by the session's events.
class CtlCommand {
 public:
  virtual ~CtlCommand() = default;
  // Called once the main link is connected (the version and status requests are queued).
  virtual void connected(CtlSession& session) { (void)session; }
  // Called after the reply's handler ran.
  virtual void replied(CtlSession& session, int code, ByteView frame) = 0;
};

class CtlSession {
 public:
  CtlSession(std::string host, double timeoutSeconds);
  ~CtlSession();

  // Connects, runs the event loop until the command finishes, a failure or the
  // deadline; returns the exit code.
  int run(CtlCommand& command);
  void finish(int code);
  void fail(int code, const std::string& message);

  Device& device() { return *device_; }

 private:
  std::string host_;
  double timeoutSeconds_;
  QtSeams seams_;
  std::unique_ptr<Device> device_;
  QTimer deadline_;
  int exitCode_ = kExitOk;
  bool done_ = false;
};

}  // namespace vantor
