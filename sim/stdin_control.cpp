#include "stdin_control.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "control_line.h"

namespace rwsim {

namespace {

constexpr qsizetype kMaxLine = 4096;

}  // namespace

StdinControl::StdinControl(FaultSet& faults, QObject* parent) : QObject(parent), faults_(faults) {
  if (::fcntl(STDIN_FILENO, F_GETFD) == -1) {
    return;  // no stdin at all
  }
  // Started in the background of an interactive shell, a read from the
  // terminal would stop the process; ignoring SIGTTIN makes it fail instead.
  ::signal(SIGTTIN, SIG_IGN);
  notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &StdinControl::onReadable);
}

void StdinControl::onReadable() {
  char buffer[1024];
  const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
    return;
  }
  if (n <= 0) {
    stop();
    return;
  }
  pending_.append(buffer, static_cast<qsizetype>(n));
  qsizetype newline = 0;
  while ((newline = pending_.indexOf('\n')) >= 0) {
    const QByteArray line = pending_.left(newline);
    pending_.remove(0, newline + 1);
    const ControlResult result = applyControlLine(faults_, line.toStdString());
    if (!result.message.empty()) {
      std::fprintf(stderr, "rw4000-sim: %s\n", result.message.c_str());
    }
    if (result.changed) {
      emit faultsChanged();
    }
    if (result.integratorSend >= 0) {
      emit integratorSend(result.integratorSend);
    }
  }
  if (pending_.size() > kMaxLine) {
    std::fprintf(stderr, "rw4000-sim: control line too long, dropped\n");
    pending_.clear();
  }
}

void StdinControl::stop() {
  notifier_->setEnabled(false);
  notifier_->deleteLater();
  notifier_ = nullptr;
}

}  // namespace rwsim
