#pragma once

// One tool connection on the main port: frames the incoming byte stream,
// lets the device answer each request and hands the reply on for writing.

#include <QObject>
#include <random>

#include "fault_set.h"
#include "frame_codec.h"

class QTcpSocket;

namespace rwsim {

class ReplyPipeline;
class SimDevice;

class MainConnection : public QObject {
  Q_OBJECT

 public:
  // Takes ownership of socket; deletes itself when the peer goes away.
  MainConnection(QTcpSocket* socket, SimDevice& device, const FaultSet& faults, std::mt19937& rng,
                 QObject* parent = nullptr);

 private:
  void onReadyRead();

  QTcpSocket* socket_;
  SimDevice& device_;
  const FaultSet& faults_;
  std::mt19937& rng_;
  FrameReader reader_;
  ReplyPipeline* pipeline_;
};

}  // namespace rwsim
