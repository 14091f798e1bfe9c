#include "cli/ctl_session.h"

#include <QEventLoop>
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
  QCoreApplication::exit(code);
}

void CtlSession::fail(int code, const std::string& message) {
  if (done_) return;
  std::fprintf(stderr, "vantorctl: %s\n", message.c_str());
  finish(code);
}

int CtlSession::run(CtlCommand& command) {
  Device& d = *device_;
  Shell& shell = d.shell;
  bool wasConnected = false;
  Subscription<const std::string&> failed(
      d.connection.hooks.mainFailed, [&](const std::string& why) {
        fail(kExitConnection,
             format("%s %s:%u: %s", wasConnected ? "connection to" : "cannot connect to",
                    host_.c_str(), kMainPort, why.c_str()));
      });
  Subscription<> connected(d.connection.hooks.mainConnected, [&] {
    wasConnected = true;
    command.connected(*this);
  });
  Subscription<int, ByteView> replied(d.channel.onReply, [&](int code, ByteView frame) {
    if (!done_) command.replied(*this, code, frame);
  });
  Subscription<const std::string&> alerts(d.shell.onAlert, [](const std::string& text) {
    std::fprintf(stderr, "vantorctl: %s\n", text.c_str());
  });

  deadline_.setSingleShot(true);
  deadline_.setInterval(static_cast<int>(timeoutSeconds_ * 1000));
  QObject::connect(&deadline_, &QTimer::timeout, [&] {
    const std::string& last = shell.errorBar[1];
    fail(kExitNoReply, format("no reply within %g s%s%s", timeoutSeconds_,
                              last.empty() ? "" : "; last error: ", last.c_str()));
  });
  deadline_.start();

  d.connection.controls.host = host_;
  d.connection.LanOnClick();
  if (!done_) QCoreApplication::exec();
  deadline_.stop();
  d.connection.LanOffClick();
  return exitCode_;
}

}  // namespace vantor
