#include "sim_server.h"

#include <QTcpSocket>

#include "command_line.h"
#include "label_memory.h"
#include "main_connection.h"
#include "side_ports.h"

namespace rwsim {

namespace {

void setLowDelay(QTcpSocket* socket) {
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

}  // namespace

SimServer::SimServer(SimDevice& device, const FaultSet& faults, QObject* parent)
    : QObject(parent),
      device_(device),
      faults_(faults),
      rng_(std::random_device{}()),
      labels_(std::make_unique<SimLabelMemory>()) {
  labels_->failChecksum = [this] { return faults_.has(FaultMode::LabelChecksum); };
  labels_->install(device_);
  connect(&main_, &QTcpServer::newConnection, this, &SimServer::acceptMain);
}

bool SimServer::start(const QHostAddress& host, QString* error) {
  if (!isLoopbackV4(host)) {
    *error = QStringLiteral("refusing to listen on %1: only 127.0.0.0/8 is allowed")
                 .arg(host.toString());
    return false;
  }
  host_ = host;
  for (const quint16 port : kSidePorts) {
    auto server = std::make_unique<QTcpServer>();
    QTcpServer* raw = server.get();
    connect(raw, &QTcpServer::newConnection, this, [this, raw] { acceptSide(raw); });
    if (!listenOn(*raw, port, error)) {
      return false;
    }
    side_.push_back(std::move(server));
  }
  return applyFaults(error);
}

bool SimServer::applyFaults(QString* error) {
  if (host_.isNull()) {
    return true;  // not started yet
  }
  const bool refuse = faults_.has(FaultMode::Refuse);
  if (refuse && main_.isListening()) {
    main_.close();
  } else if (!refuse && !main_.isListening()) {
    return listenOn(main_, kMainPort, error);
  }
  return true;
}

bool SimServer::listenOn(QTcpServer& server, quint16 port, QString* error) {
  if (server.listen(host_, port)) {
    return true;
  }
  *error = QStringLiteral("cannot listen on %1:%2: %3")
               .arg(host_.toString())
               .arg(port)
               .arg(server.errorString());
  return false;
}

void SimServer::acceptMain() {
  while (QTcpSocket* socket = main_.nextPendingConnection()) {
    setLowDelay(socket);
    new MainConnection(socket, device_, faults_, rng_, this);
  }
}

SimServer::~SimServer() = default;

void SimServer::sendIntegratorRequest(int code) {
  for (IntegratorConnection* c : findChildren<IntegratorConnection*>()) {
    c->sendRequest(code);
  }
}

void SimServer::acceptSide(QTcpServer* server) {
  while (QTcpSocket* socket = server->nextPendingConnection()) {
    setLowDelay(socket);
    switch (server->serverPort()) {
      case 49000:
        new IntegratorConnection(socket, *labels_, faults_, integratorPeriod_, this);
        continue;
      case 46000:
        new MobConnection(socket, faults_, integratorPeriod_, this);
        continue;
      case 47001:
        new PrinterConnection(socket, this);
        continue;
      default:
        break;
    }
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

}  // namespace rwsim
