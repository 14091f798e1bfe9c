#pragma once

// The device's listening ports on one loopback address. The main port talks
// the frame protocol; port 46990 takes kill requests, which close every
// connection of the port they name; the integrator ports and the printer port
// are served by side_ports.h.

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <array>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "boot_loader.h"
#include "boot_port.h"
#include "fault_set.h"

namespace rwsim {

class SimDevice;
class KillRequestReader;
class SimLabelMemory;
class SimUserAccounts;

inline constexpr quint16 kMainPort = 47000;
inline constexpr std::array<quint16, 4> kSidePorts{49000, 46000, 47001, 46990};
inline constexpr quint16 kKillPort = 46990;

class SimServer : public QObject, public BootPort {
  Q_OBJECT

 public:
  SimServer(SimDevice& device, const FaultSet& faults, QObject* parent = nullptr);
  ~SimServer() override;

  // Side-port messages every `seconds` (0: only when told); set before start().
  void setIntegratorPeriod(int seconds) { integratorPeriod_ = seconds; }
  // Sends device request `code` on every open integrator-link connection.
  void sendIntegratorRequest(int code);

  // Opens every port on host (the main port only when `refuse` is off).
  // On failure returns false with a message naming the port.
  bool start(const QHostAddress& host, QString* error);

  // Opens or closes the main port to match the `refuse` mode.
  bool applyFaults(QString* error);

  bool mainPortListening() const { return main_.isListening(); }

  const BootLoader& bootLoader() const { return boot_; }
  bool inBootLoader() const override { return boot_.mode() == BootMode::Boot; }
  void bootText(MainConnection& connection, QTcpSocket& socket, const QByteArray& text) override;

 private:
  bool listenOn(QTcpServer& server, quint16 port, QString* error);
  void acceptMain();
  void acceptSide(QTcpServer* server);
  void readKill(QTcpSocket* socket, KillRequestReader& reader);
  void track(quint16 port, QTcpSocket* socket);
  // Drops every main-port connection and keeps the port closed for a while,
  // then opens it again with the device running `mode`.
  void restart(BootMode mode);

  SimDevice& device_;
  const FaultSet& faults_;
  QHostAddress host_;
  QTcpServer main_;
  std::vector<std::unique_ptr<QTcpServer>> side_;
  std::mt19937 rng_;
  // The open connections of each port, for the kill requests.
  std::map<quint16, std::vector<QPointer<QTcpSocket>>> open_;
  std::unique_ptr<SimLabelMemory> labels_;
  std::unique_ptr<SimUserAccounts> users_;
  int integratorPeriod_ = 0;
  BootLoader boot_;
  QElapsedTimer clock_;
  bool restarting_ = false;
};

}  // namespace rwsim
