#include "support/floor_clients.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>

namespace vantor::bench {

Exchange mainExchange(ByteView frame, size_t payload) {
  return Exchange{Bytes(frame.begin(), frame.end()), 11 + 1 + payload};
}

double platformFloor(const QString& host, uint16_t port, const std::vector<Exchange>& exchanges) {
  QTcpSocket socket;
  socket.connectToHost(host, port);
  if (!socket.waitForConnected(5000)) return -1;
  socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  QEventLoop loop;
  size_t index = 0;
  qint64 awaited = 0;
  QElapsedTimer clock;
  auto sendNext = [&] {
    const Exchange& e = exchanges[index];
    awaited = static_cast<qint64>(e.replyBytes);
    socket.write(reinterpret_cast<const char*>(e.request.data()),
                 static_cast<qint64>(e.request.size()));
  };
  QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
    awaited -= socket.readAll().size();
    if (awaited > 0) return;
    if (++index == exchanges.size()) {
      loop.quit();
      return;
    }
    sendNext();
  });
  QObject::connect(&socket, &QTcpSocket::errorOccurred, [&] { loop.exit(1); });
  clock.start();
  sendNext();
  if (loop.exec() != 0) return -1;
  return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double physicalFloor(const QString& host, uint16_t port, const std::vector<Exchange>& exchanges) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  inet_pton(AF_INET, host.toLatin1().constData(), &addr.sin_addr);
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  std::vector<uint8_t> buffer(70000);
  QElapsedTimer clock;
  clock.start();
  for (const Exchange& e : exchanges) {
    if (::send(fd, e.request.data(), e.request.size(), 0) !=
        static_cast<ssize_t>(e.request.size())) {
      ::close(fd);
      return -1;
    }
    size_t got = 0;
    while (got < e.replyBytes) {
      const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
      if (n <= 0) {
        ::close(fd);
        return -1;
      }
      got += static_cast<size_t>(n);
    }
  }
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  ::close(fd);
  return seconds;
}

}  // namespace vantor::bench
