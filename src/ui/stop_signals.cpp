#include "ui/stop_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace vantor {

namespace {
int g_pipe[2] = {-1, -1};  // written by the signal handler, read by the loop

extern "C" void onStopSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(g_pipe[0], &byte, 1);
}
}  // namespace

StopSignals::StopSignals(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0) return;
  notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const auto n = ::read(g_pipe[1], &byte, 1);
    emit received();
  });
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : signalNumbers) ::sigaction(s, &action, nullptr);
}

StopSignals::~StopSignals() = default;

}  // namespace vantor
