#include "cli/ctl_session.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "link/text_format.h"

namespace vantor {

namespace {}  // namespace

CtlSession::CtlSession(std::string host, double timeoutSeconds, int replyTimeoutMs)
    : host_(std::move(host)),
      timeoutSeconds_(timeoutSeconds),
      replyTimeoutMs_(replyTimeoutMs),
      device_(std::make_unique<Device>(seams_)),
      terminal_(::isatty(STDERR_FILENO) == 1) {
  device_->channel.setReplyTimeoutMs(replyTimeoutMs);
  deadline_.setSingleShot(true);
  deadline_.setTimerType(Qt::PreciseTimer);  // a coarse timer may end the wait up to 5 % early
  deadline_.setInterval(static_cast<int>(std::ceil(timeoutSeconds_ * 1000)));
  QObject::connect(&deadline_, &QTimer::timeout, [this] { deadlinePassed(); });
}

CtlSession::~CtlSession() = default;

void CtlSession::progress(const std::string& text) {
  if (!terminal_ || done_ || text == progressShown_) return;
  // Back to the start of the line, the text, the rest of the old line erased.
  std::fprintf(stderr, "\r%s\033[K", text.c_str());
  std::fflush(stderr);
  progressShown_ = text;
}

void CtlSession::endProgress(bool keep) {
  if (progressShown_.empty()) return;
  std::fputs(keep ? "\n" : "\r\033[K", stderr);
  std::fflush(stderr);
  progressShown_.clear();
}

void CtlSession::finish(int code) {
  if (done_) return;
  endProgress(false);
  done_ = true;
  exitCode_ = code;
  // Replies already read, or queued behind this one, still come through the
  // device's hooks; none of them reaches the command any more.
  command_ = nullptr;
  QCoreApplication::exit(code);
}

void CtlSession::fail(int code, const std::string& message) {
  if (done_) return;
  endProgress(true);
  std::fprintf(stderr, "vantorctl: %s\n", message.c_str());
  finish(code);
}

void CtlSession::deadlinePassed() {
  if (!connectedOnce_) {
    fail(kExitConnection,
         format("cannot connect to %s:%u: the connection did not complete within %g s",
                host_.c_str(), port_, timeoutSeconds_));
    return;
  }
  const std::string& last = device_->shell.errorBar[1];
  fail(kExitNoReply, format("no reply for %g s%s%s", timeoutSeconds_,
                            last.empty() ? "" : "; last error: ", last.c_str()));
}

// The channel has already sent the request a second time where it does so (a
// silence, a reply that failed its checks); a refusal is not asked again.
void CtlSession::requestEnded(int code, RequestEnd end) {
  switch (end) {
    case RequestEnd::Refused:
      fail(kExitRefused, format("device refused command %d", code));
      break;
    case RequestEnd::NoReply:
      fail(kExitNoReply,
           format("no reply to command %d (sent twice, %d ms each)", code, replyTimeoutMs_));
      break;
    case RequestEnd::BadReply: {
      const std::string& last = device_->shell.errorBar[1];
      fail(kExitNoReply, format("no good reply to command %d (sent twice%s%s)", code,
                                last.empty() ? "" : "; last error: ", last.c_str()));
      break;
    }
  }
}

void CtlSession::shellChanged(Area area) {
  if (command_) command_->changed(*this, area);
}

void CtlSession::alerted(const std::string& text) {
  endProgress(true);
  std::fprintf(stderr, "vantorctl: %s\n", text.c_str());
}

void CtlSession::watchConnect(uint16_t port) {
  port_ = port;
  device_->connection.controls.host = host_;
  ownAlerts_ = std::make_unique<Subscription<const std::string&>>(
      device_->shell.onAlert, [this](const std::string& text) { alerted(text); });
  deadline_.start();
}

int CtlSession::run(CtlCommand& command) {
  command_ = &command;
  command.prepare(*this);
  if (done_) return exitCode_;
  if (command.start(*this)) {
    if (!done_) QCoreApplication::exec();
    deadline_.stop();
    ownAlerts_.reset();
    command_ = nullptr;
    return exitCode_;
  }

  Device& d = *device_;
  Subscription<const std::string&> failed(
      d.connection.hooks.mainFailed, [this](const std::string& why) {
        fail(kExitConnection,
             format("%s %s:%u: %s", connectedOnce_ ? "connection to" : "cannot connect to",
                    host_.c_str(), kMainPort, why.c_str()));
      });
  Subscription<> connected(d.connection.hooks.mainConnected, [this] {
    connectedOnce_ = true;
    deadline_.start();
    if (command_) command_->connected(*this);
  });
  Subscription<int, ByteView> replied(d.channel.onReply, [this](int code, ByteView frame) {
    deadline_.start();
    if (command_) command_->replied(*this, code, frame);
  });
  Subscription<int, RequestEnd> ended(
      d.channel.onRequestEnded, [this](int code, RequestEnd end) { requestEnded(code, end); });
  Subscription<Area> shown(d.shell.onChange, [this](Area area) { shellChanged(area); });
  // A reply shorter than its layout was read with zeros for what is missing:
  // nothing made of it may reach a file or the device, so the run ends here,
  // before the command is told of the reply.
  Subscription<int, size_t, size_t> shortReplies(
      d.channel.onShortReply, [this](int code, size_t have, size_t wanted) {
        fail(kExitNoReply, format("short reply %d: %zu of %zu bytes", code, have, wanted));
      });
  Subscription<const std::string&> alerts(d.shell.onAlert,
                                          [this](const std::string& text) { alerted(text); });
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
