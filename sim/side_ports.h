#pragma once

// The device's side ports as the tool meets them:
//   49000 integrator link: IntegratorPeer over a socket; requests on the
//         control line "integrator send CODE" and every `period` seconds
//   46000 auxiliary integrator port: a message of tab-separated fields every
//         `period` seconds; 6xx messages of the tool are logged
//   47001 printer: keeps every byte and answers each write with "PRN RX n\r\n"
//         (n: bytes received so far on this connection)
// Verdicts and received messages go to standard error, one line each. The
// fault modes side-split and side-join shape every integrator message written.

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "fault_set.h"
#include "integrator_peer.h"

class QTcpSocket;

namespace rwsim {

class ReplyPipeline;
class SimLabelMemory;

class IntegratorConnection : public QObject {
  Q_OBJECT

 public:
  IntegratorConnection(QTcpSocket* socket, SimLabelMemory& labels, const FaultSet& faults,
                       int periodSeconds, QObject* parent);
  void sendRequest(int code);
  IntegratorPeer& peer() { return peer_; }

 private:
  void onReadyRead();
  QTcpSocket* socket_;
  IntegratorPeer peer_;
  IntegratorTextReader reader_;
  ReplyPipeline* writer_;  // integrator messages under side-split and side-join
  QTimer period_;
};

class MobConnection : public QObject {
  Q_OBJECT

 public:
  MobConnection(QTcpSocket* socket, const FaultSet& faults, int periodSeconds, QObject* parent);

 private:
  void onReadyRead();
  void sendFields();
  QTcpSocket* socket_;
  IntegratorTextReader reader_;
  ReplyPipeline* writer_;  // integrator messages under side-split and side-join
  QTimer period_;
  int sent_ = 0;
};

class PrinterConnection : public QObject {
  Q_OBJECT

 public:
  PrinterConnection(QTcpSocket* socket, QObject* parent);
  const QByteArray& received() const { return received_; }

 private:
  QTcpSocket* socket_;
  QByteArray received_;
};

}  // namespace rwsim
