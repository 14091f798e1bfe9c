#include "platform/qt_socket.h"

namespace vantor {

QtSocket::QtSocket() {
  connect(&socket_, &QTcpSocket::stateChanged, this, &QtSocket::onStateChanged);
  connect(&socket_, &QTcpSocket::connected, this, &QtSocket::onConnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &QtSocket::onReadyRead);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &QtSocket::onError);
}

QtSocket::~QtSocket() {
  listener_ = nullptr;
  socket_.disconnect(this);
  socket_.abort();
}

void QtSocket::open(const std::string& host, uint16_t port) {
  if (socket_.state() != QAbstractSocket::UnconnectedState) return;  // already open
  socket_.connectToHost(QString::fromStdString(host), port);
}

void QtSocket::close() {
  if (socket_.state() == QAbstractSocket::UnconnectedState) return;
  // What was written last still goes out (a reset request, say), as far as the
  // system takes it without waiting.
  if (socket_.state() == QAbstractSocket::ConnectedState) socket_.flush();
  socket_.abort();
}

void QtSocket::write(ByteView bytes) {
  if (socket_.state() != QAbstractSocket::ConnectedState) return;
  socket_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

bool QtSocket::connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }

uint16_t QtSocket::localPort() const { return socket_.localPort(); }

void QtSocket::onStateChanged(QAbstractSocket::SocketState state) {
  if (!listener_) return;
  if (state == QAbstractSocket::ConnectingState) listener_->socketConnecting();
  if (state == QAbstractSocket::UnconnectedState && wasConnected_) {
    wasConnected_ = false;
    listener_->socketDisconnected();
  }
}

void QtSocket::onConnected() {
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  wasConnected_ = true;
  if (!listener_) return;
  listener_->socketConnected();
  // A connected socket is ready for writing once; that readiness is the write event.
  if (listener_ && connected()) listener_->socketWritten();
}

void QtSocket::onReadyRead() {
  readBuffer_ = socket_.readAll();
  if (listener_ && !readBuffer_.isEmpty())
    listener_->socketRead(ByteView(reinterpret_cast<const uint8_t*>(readBuffer_.constData()),
                                   static_cast<size_t>(readBuffer_.size())));
}

void QtSocket::onError(QAbstractSocket::SocketError error) {
  // The error is handled here: the listener decides what the user sees.
  if (!listener_) return;
  if (error == QAbstractSocket::RemoteHostClosedError)
    listener_->socketClosedByPeer(socket_.errorString().toStdString());
  else
    listener_->socketError(socket_.errorString().toStdString());
}

}  // namespace vantor
