#include "sim_server.h"

#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "command_line.h"
#include "kill_port.h"
#include "label_memory.h"
#include "main_connection.h"
#include "side_ports.h"
#include "user_accounts.h"

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
  users_ = std::make_unique<SimUserAccounts>();
  users_->install(device_);
  connect(&main_, &QTcpServer::newConnection, this, &SimServer::acceptMain);
  clock_.start();
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
  if (restarting_) {
    return true;  // the restart opens the port again
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
    track(kMainPort, socket);
    auto* connection = new MainConnection(socket, device_, faults_, rng_, this);
    connection->setBootPort(this);
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
    // Every side connection but the kill port's own can be closed by a kill request.
    if (server->serverPort() != kKillPort) track(server->serverPort(), socket);
    switch (server->serverPort()) {
      case 49000: {
        auto* c = new IntegratorConnection(socket, *labels_, faults_, integratorPeriod_, this);
        c->peer().onUserAccount = [this](const std::vector<std::string>& fields) {
          return users_->takeMessage(fields);
        };
        continue;
      }
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
    if (server->serverPort() == kKillPort) {
      auto reader = std::make_shared<KillRequestReader>();
      connect(socket, &QTcpSocket::readyRead, socket,
              [this, socket, reader] { readKill(socket, *reader); });
    } else {
      connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void SimServer::track(quint16 port, QTcpSocket* socket) {
  std::vector<QPointer<QTcpSocket>>& list = open_[port];
  std::erase_if(list, [](const QPointer<QTcpSocket>& s) { return s.isNull(); });
  list.emplace_back(socket);
}

void SimServer::readKill(QTcpSocket* socket, KillRequestReader& reader) {
  const QByteArray bytes = socket->readAll();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  for (const std::uint8_t index : reader.feed({data, static_cast<std::size_t>(bytes.size())})) {
    const quint16 port = killedPort(index);
    if (port == 0) continue;
    for (const QPointer<QTcpSocket>& victim : open_[port])
      if (victim) victim->disconnectFromHost();
  }
}

void SimServer::bootText(MainConnection& connection, QTcpSocket& socket, const QByteArray& text) {
  const BootAnswer answer =
      boot_.handle(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                   clock_.elapsed(), faults_);
  if (answer.reply) {
    socket.write(answer.reply->data(), static_cast<qint64>(answer.reply->size()));
  }
  switch (answer.effect) {
    case BootAnswer::Effect::None:
      break;
    case BootAnswer::Effect::DropConnection:
      connection.drop();
      break;
    case BootAnswer::Effect::RestartIntoBoot:
      QTimer::singleShot(kBootRestartDelayMs, this, [this] { restart(BootMode::Boot); });
      break;
    case BootAnswer::Effect::RestartIntoApplication:
      restart(BootMode::Application);
      break;
  }
}

void SimServer::restart(BootMode mode) {
  if (restarting_) {
    return;
  }
  restarting_ = true;
  main_.close();
  for (MainConnection* connection : findChildren<MainConnection*>()) {
    connection->drop();
  }
  QTimer::singleShot(kRestartDownMs, this, [this, mode] {
    boot_.start(mode);
    restarting_ = false;
    QString error;
    if (!applyFaults(&error)) {
      std::fprintf(stderr, "rw4000-sim: %s\n", qPrintable(error));
    }
  });
}

}  // namespace rwsim
