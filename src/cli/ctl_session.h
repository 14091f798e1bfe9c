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
  // A command that speaks to the device on links of its own, not on the main
  // link, starts here and returns true; the main link is not connected, and the
  // session runs the event loop until the command ends the run. Such a command
  // keeps its own deadline, or has the session keep the connect deadline with
  // session.watchConnect(port).
  virtual bool start(CtlSession& session) {
    (void)session;
    return false;
  }
  // Called once the main link is connected (the version and status requests are queued).
  virtual void connected(CtlSession& session) { (void)session; }
  // Called after the reply's handler ran.
  virtual void replied(CtlSession& session, int code, ByteView frame) = 0;
  // Called when a part of what the window would show changed (its progress texts, say).
  virtual void changed(CtlSession& session, Area area) {
    (void)session;
    (void)area;
  }
};

// The run ends at the first of: the command finishes or fails; the connection
// fails or is lost (kExitConnection); a request ends without its reply, after
// the channel sent it once more where it does (refused: kExitRefused, no reply
// or no good reply: kExitNoReply); a reply shorter than its handler reads
// (kExitNoReply); the deadline.
//
// The deadline bounds a silence, not the whole command: the connect must
// complete within it, and it starts again with every reply, so a long command
// on a slow link goes on for as long as replies keep coming.
class CtlSession {
 public:
  // timeoutSeconds: more than 0 and at most a day; replyTimeoutMs: the
  // channel's wait for one reply (the command line keeps both in bounds).
  CtlSession(std::string host, double timeoutSeconds,
             int replyTimeoutMs = CommandChannel::kDefaultReplyTimeoutMs);
  ~CtlSession();

  // Prepares the command, connects, runs the event loop until the run ends;
  // returns the exit code.
  int run(CtlCommand& command);
  // Ends the run with this exit code; the first call counts.
  void finish(int code);
  // Prints "vantorctl: MESSAGE" on stderr and ends the run, unless it has ended already.
  void fail(int code, const std::string& message);
  bool done() const { return done_; }
  // Shows `text` as the one progress line on stderr, in place of the last one,
  // when stderr is a terminal; an empty text takes the line away. Nothing is
  // printed when stderr is not a terminal. A run that succeeds takes its line
  // away; one that fails leaves it standing above its message.
  void progress(const std::string& text);

  // For a command on a socket of its own, from its start(): the device's host
  // is set, the connect must complete within the deadline (its message names
  // `port`), and the device's alerts are printed as on the main link.
  void watchConnect(uint16_t port);

  Device& device() { return *device_; }
  const std::string& host() const { return host_; }

  // The folder of the window's files (ends in a slash).
  std::string dataDir;
  double timeoutSeconds() const { return timeoutSeconds_; }

 private:
  void deadlinePassed();
  void requestEnded(int code, RequestEnd end);
  void shellChanged(Area area);
  void endProgress(bool keep);
  void alerted(const std::string& text);

  std::string host_;
  double timeoutSeconds_;
  int replyTimeoutMs_;
  QtSeams seams_;
  std::unique_ptr<Device> device_;
  QTimer deadline_;
  uint16_t port_ = kMainPort;  // the port the connect deadline names
  std::unique_ptr<Subscription<const std::string&>> ownAlerts_;  // see watchConnect
  CtlCommand* command_ = nullptr;  // while the command runs; none once it is done
  bool connectedOnce_ = false;
  int exitCode_ = kExitOk;
  bool done_ = false;
  bool terminal_ = false;      // stderr is a terminal: progress is shown
  std::string progressShown_;  // the progress line on the terminal, if any
};

}  // namespace vantor
