#include "side_ports.h"

#include <QTcpSocket>
#include <cstdio>

#include "label_memory.h"

namespace rwsim {

namespace {

void say(const std::string& line) {
  std::fprintf(stderr, "rw4000-sim: %s\n", line.c_str());
  std::fflush(stderr);
}

QByteArray toQt(const Bytes& b) {
  return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

Bytes fromQt(const QByteArray& b) { return Bytes(b.begin(), b.end()); }

}  // namespace

SideWriter::SideWriter(QTcpSocket* socket, const FaultSet& faults, QObject* parent)
    : QObject(parent), socket_(socket), faults_(faults) {
  holdTimer_.setSingleShot(true);
  holdTimer_.setInterval(kJoinHoldMs);
  connect(&holdTimer_, &QTimer::timeout, this, [this] {
    write(held_);
    held_.clear();
  });
  pauseTimer_.setSingleShot(true);
  connect(&pauseTimer_, &QTimer::timeout, this, &SideWriter::pump);
}

void SideWriter::send(const Bytes& message) {
  const QByteArray bytes = toQt(message);
  if (faults_.has(FaultMode::SideJoin)) {
    held_ += bytes;
    if (holdTimer_.isActive()) {
      holdTimer_.stop();
      write(held_);
      held_.clear();
    } else {
      holdTimer_.start();
    }
    return;
  }
  if (!held_.isEmpty()) {
    holdTimer_.stop();
    write(held_);
    held_.clear();
  }
  write(bytes);
}

void SideWriter::write(const QByteArray& bytes) {
  if (bytes.isEmpty()) {
    return;
  }
  if (!faults_.has(FaultMode::SideSplit) || bytes.size() < 2) {
    pieces_.push_back({bytes, 0});
  } else {
    const qsizetype half = bytes.size() / 2;
    pieces_.push_back({bytes.left(half), 0});
    pieces_.push_back({bytes.mid(half), kSplitPauseMs});
  }
  pump();
}

// Later messages wait behind the second half of a split one, so nothing is interleaved.
void SideWriter::pump() {
  while (!pieces_.empty() && !pauseTimer_.isActive()) {
    Piece& front = pieces_.front();
    if (front.pauseBeforeMs > 0) {
      pauseTimer_.start(front.pauseBeforeMs);
      front.pauseBeforeMs = 0;
      return;
    }
    if (socket_->state() == QAbstractSocket::ConnectedState) {
      socket_->write(front.bytes);
      socket_->flush();
    }
    pieces_.pop_front();
  }
}

IntegratorConnection::IntegratorConnection(QTcpSocket* socket, SimLabelMemory& labels,
                                           const FaultSet& faults, int periodSeconds,
                                           QObject* parent)
    : QObject(parent),
      socket_(socket),
      peer_(labels),
      writer_(new SideWriter(socket, faults, this)) {
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
    : QObject(parent), socket_(socket), writer_(new SideWriter(socket, faults, this)) {
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
