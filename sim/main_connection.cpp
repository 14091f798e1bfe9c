#include "main_connection.h"

#include <QTcpSocket>
#include <span>

#include "boot_port.h"
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
  // The two protocols told apart: a frame starts with STX (stray bytes before
  // it are the frame reader's to skip); a read without STX, outside a frame,
  // is a text of the boot loader, which never holds one.
  if (boot_ && reader_.bufferedBytes() == 0 && !data.contains(char(0x02))) {
    boot_->bootText(*this, *socket_, data);
    return;
  }
  reader_.append(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                           static_cast<std::size_t>(data.size())));
  while (const auto request = reader_.next()) {
    if (faults_.has(FaultMode::Silent) || (boot_ && boot_->inBootLoader())) {
      continue;
    }
    const Bytes reply = faults_.shape(device_.reply(*request), rng_);
    pipeline_->send(QByteArray(reinterpret_cast<const char*>(reply.data()),
                               static_cast<qsizetype>(reply.size())));
  }
}

void MainConnection::drop() { socket_->abort(); }

}  // namespace rwsim
