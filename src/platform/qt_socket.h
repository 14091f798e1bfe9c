#pragma once
// The core's Socket over a QTcpSocket, with Nagle's delay switched off.
#include <QObject>
#include <QTcpSocket>

#include "link/seams.h"

namespace vantor {

class QtSocket final : public QObject, public Socket {
  Q_OBJECT
 public:
  QtSocket();
  ~QtSocket() override;

  void setListener(SocketListener* listener) override { listener_ = listener; }
  void open(const std::string& host, uint16_t port) override;
  void close() override;
  void write(ByteView bytes) override;
  bool connected() const override;
  uint16_t localPort() const override;

 private:
  void onStateChanged(QAbstractSocket::SocketState state);
  void onConnected();
  void onReadyRead();
  void onError(QAbstractSocket::SocketError error);

  QTcpSocket socket_;
  SocketListener* listener_ = nullptr;
  bool wasConnected_ = false;
  QByteArray readBuffer_;
};

}  // namespace vantor
