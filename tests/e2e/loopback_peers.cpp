#include "loopback_peers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vantor::e2e {

namespace {

sockaddr_in loopbackAddress(const std::string& host, uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  if (inet_pton(AF_INET, host.c_str(), &a.sin_addr) != 1 || (ntohl(a.sin_addr.s_addr) >> 24) != 127)
    a.sin_family = AF_UNSPEC;  // only loopback; anything else fails to bind or connect
  return a;
}

int listenOn(const std::string& host, uint16_t port, int backlog) {
  const sockaddr_in a = loopbackAddress(host, port);
  if (a.sin_family != AF_INET) return -1;
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(fd, backlog) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Polls one descriptor; true when it is ready for `events` within `ms`.
bool ready(int fd, short events, int ms) {
  pollfd p{fd, events, 0};
  return ::poll(&p, 1, ms) == 1;
}

}  // namespace

StalledListener::StalledListener(const std::string& host, uint16_t port) {
  listener_ = listenOn(host, port, 0);
  if (listener_ < 0) return;
  const sockaddr_in a = loopbackAddress(host, port);
  // The queue holds a kernel-chosen few; connect until one stays pending.
  for (int i = 0; i < 16 && !stalled_; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    fillers_.push_back(fd);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) continue;
    if (errno != EINPROGRESS) return;
    stalled_ = !ready(fd, POLLOUT, 300);
  }
}

StalledListener::~StalledListener() {
  for (int fd : fillers_) ::close(fd);
  if (listener_ >= 0) ::close(listener_);
}

ScriptedDevice::ScriptedDevice(const std::string& host, uint16_t port, std::string reply)
    : reply_(std::move(reply)) {
  listener_ = listenOn(host, port, 1);
  if (listener_ >= 0) thread_ = std::thread([this] { serve(); });
}

ScriptedDevice::~ScriptedDevice() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) ::close(listener_);
}

void ScriptedDevice::serve() {
  int peer = -1;
  while (!stop_ && peer < 0)
    if (ready(listener_, POLLIN, 50)) peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  while (!stop_ && peer >= 0) {
    if (!ready(peer, POLLIN, 50)) continue;
    char buffer[512];
    const ssize_t n = ::read(peer, buffer, sizeof buffer);
    if (n <= 0) break;
    if (!answered_) {
      answered_ =
          ::write(peer, reply_.data(), reply_.size()) == static_cast<ssize_t>(reply_.size());
    }
  }
  if (peer >= 0) ::close(peer);
}

}  // namespace vantor::e2e
