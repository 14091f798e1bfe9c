#include "signal_watcher.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <stdexcept>

namespace rwsim {

namespace {

int g_pipe[2] = {-1, -1};  // [0] written by the handler, [1] read by the loop

extern "C" void forwardSignal(int signalNumber) {
  const unsigned char byte = static_cast<unsigned char>(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

}  // namespace

SignalWatcher::SignalWatcher(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent), signalNumbers_(signalNumbers) {
  if (g_pipe[0] != -1) {
    throw std::logic_error("only one SignalWatcher may exist");
  }
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
    throw std::runtime_error("socketpair failed");
  }
  notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::onReadable);

  struct sigaction action {};
  action.sa_handler = forwardSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int number : signalNumbers_) {
    ::sigaction(number, &action, nullptr);
  }
}

SignalWatcher::~SignalWatcher() {
  for (const int number : signalNumbers_) {
    ::signal(number, SIG_DFL);
  }
  delete notifier_;
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void SignalWatcher::onReadable() {
  unsigned char byte = 0;
  if (::read(g_pipe[1], &byte, 1) == 1) {
    emit received(byte);
  }
}

}  // namespace rwsim
