#include "cli/ctl_session.h"

#include <cmath>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

CtlSession::CtlSession(std::string host, double timeoutSeconds)
    : host_(std::move(host)),
      timeoutSeconds_(timeoutSeconds),
      device_(std::make_unique<Device>(seams_)) {}

CtlSession::~CtlSession() = default;

void CtlSession::finish(int code) {
  if (done_) return;
  done_ = true;
  exitCode_ = code;
  // Replies already read, or queued behind this one, still come through the
  // device's hooks; none of them reaches the command any more.
  command_ = nullptr;
  QCoreApplication::exit(code);
}

void CtlSession::fail(int code, const std::string& message) {
  if (done_) return;
  std::fprintf(stderr, "vantorctl: %s\n", message.c_str());
  finish(code);
}

void CtlSession::deadlinePassed() {
  if (!connectedOnce_) {
    fail(kExitConnection,
         format("cannot connect to %s:%u: the connection did not complete within %g s",
                host_.c_str(), kMainPort, timeoutSeconds_));
    return;
  }
  const std::string& last = device_->shell.errorBar[1];
  fail(kExitNoReply, format("no reply within %g s%s%s", timeoutSeconds_,
                            last.empty() ? "" : "; last error: ", last.c_str()));
}

int CtlSession::run(CtlCommand& command) {
  command_ = &command;
  command.prepare(*this);
  if (done_) return exitCode_;

  Device& d = *device_;
  Subscription<const std::string&> failed(
      d.connection.hooks.mainFailed, [this](const std::string& why) {
        fail(kExitConnection,
             format("%s %s:%u: %s", connectedOnce_ ? "connection to" : "cannot connect to",
                    host_.c_str(), kMainPort, why.c_str()));
      });
  Subscription<> connected(d.connection.hooks.mainConnected, [this] {
    connectedOnce_ = true;
    if (command_) command_->connected(*this);
  });
  Subscription<int, ByteView> replied(d.channel.onReply, [this](int code, ByteView frame) {
    if (command_) command_->replied(*this, code, frame);
  });
  Subscription<const std::string&> alerts(d.shell.onAlert, [](const std::string& text) {
    std::fprintf(stderr, "vantorctl: %s\n", text.c_str());
  });

  deadline_.setSingleShot(true);
  deadline_.setInterval(static_cast<int>(std::ceil(timeoutSeconds_ * 1000)));
  QObject::connect(&deadline_, &QTimer::timeout, [this] { deadlinePassed(); });
  deadline_.start();

  d.connection.controls.host = host_;
  d.connection.LanOnClick();
  if (!done_) QCoreApplication::exec();
  deadline_.stop();
  d.connection.LanOffClick();
  command_ = nullptr;
  return exitCode_;
}

}  // namespace vantor
