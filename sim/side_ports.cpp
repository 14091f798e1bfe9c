#include "side_ports.h"

#include <QTcpSocket>
#include <cstdio>

#include "label_memory.h"
#include "reply_pipeline.h"

namespace rwsim {

namespace {

void say(const std::string& line) {
  std::fprintf(stderr, "rw4000-sim: %s\n", line.c_str());
  std::fflush(stderr);
}

Bytes fromQt(const QByteArray& b) { return Bytes(b.begin(), b.end()); }

}  // namespace

IntegratorConnection::IntegratorConnection(QTcpSocket* socket, SimLabelMemory& labels,
                                           const FaultSet& faults, int periodSeconds,
                                           QObject* parent)
    : QObject(parent),
      socket_(socket),
      peer_(labels),
      writer_(new ReplyPipeline(socket, faults, this, kSideFaults)) {
  socket->setParent(this);
  connect(socket, &QTcpSocket::readyRead, this, &IntegratorConnection::onReadyRead);
  connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
  if (periodSeconds > 0) {
    connect(&period_, &QTimer::timeout, this, [this] { sendRequest(peer_.nextCycleCode()); });
    period_.start(periodSeconds * 1000);
  }
}

void IntegratorConnection::sendRequest(int code) {
  writer_->send(peer_.request(code));
  char line[64];
  std::snprintf(line, sizeof line, "integrator: request %03d sent", code);
  say(line);
}

void IntegratorConnection::onReadyRead() {
  reader_.append(fromQt(socket_->readAll()));
  while (const auto message = reader_.next()) {
    const IntegratorPeer::Outcome out = peer_.received(*message);
    for (const std::string& line : out.lines) {
      say(line);
    }
    for (const Bytes& reply : out.replies) {
      writer_->send(reply);
    }
  }
}

MobConnection::MobConnection(QTcpSocket* socket, const FaultSet& faults, int periodSeconds,
                             QObject* parent)
    : QObject(parent),
      socket_(socket),
      writer_(new ReplyPipeline(socket, faults, this, kSideFaults)) {
  socket->setParent(this);
  connect(socket, &QTcpSocket::readyRead, this, &MobConnection::onReadyRead);
  connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
  if (periodSeconds > 0) {
    connect(&period_, &QTimer::timeout, this, &MobConnection::sendFields);
    period_.start(periodSeconds * 1000);
  }
}

void MobConnection::sendFields() {
  writer_->send(frameIntegratorText("600\x06\tLINE1\tBOX " + std::to_string(++sent_) + "\t12.345"));
}

void MobConnection::onReadyRead() {
  reader_.append(fromQt(socket_->readAll()));
  while (const auto message = reader_.next()) {
    if (!message->bccOk) {
      say("mob: bad BCC: " + printable(message->text));
    } else {
      say("mob: received " + printable(message->text));
    }
  }
}

PrinterConnection::PrinterConnection(QTcpSocket* socket, QObject* parent)
    : QObject(parent), socket_(socket) {
  socket->setParent(this);
  connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
  connect(socket, &QTcpSocket::readyRead, this, [this] {
    received_ += socket_->readAll();
    socket_->write(QByteArrayLiteral("PRN RX ") + QByteArray::number(received_.size()) +
                   QByteArrayLiteral("\r\n"));
  });
}

}  // namespace rwsim
