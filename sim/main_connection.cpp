#include "main_connection.h"

#include <QTcpSocket>
#include <span>

#include "reply_pipeline.h"
#include "sim_device.h"

namespace rwsim {

MainConnection::MainConnection(QTcpSocket* socket, SimDevice& device, const FaultSet& faults,
                               std::mt19937& rng, QObject* parent)
    : QObject(parent),
      socket_(socket),
      device_(device),
      faults_(faults),
      rng_(rng),
      pipeline_(new ReplyPipeline(socket, faults, this)) {
  socket_->setParent(this);
  device_.weightTrace().connected();
  connect(socket_, &QTcpSocket::readyRead, this, &MainConnection::onReadyRead);
  connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
}

void MainConnection::onReadyRead() {
  const QByteArray data = socket_->readAll();
  if (data.isEmpty()) {
    return;
  }
  if (faults_.has(FaultMode::Drop)) {
    socket_->close();
    return;
  }
  reader_.append(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                           static_cast<std::size_t>(data.size())));
  while (const auto request = reader_.next()) {
    if (faults_.has(FaultMode::Silent)) {
      continue;
    }
    const Bytes reply = faults_.shape(device_.reply(*request), rng_);
    pipeline_->send(QByteArray(reinterpret_cast<const char*>(reply.data()),
                               static_cast<qsizetype>(reply.size())));
  }
}

}  // namespace rwsim
