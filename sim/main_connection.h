#pragma once

// One tool connection on the main port: frames the incoming byte stream,
// lets the device answer each request and hands the reply on for writing.

#include <QObject>
#include <random>

#include "fault_set.h"
#include "frame_codec.h"

class QTcpSocket;

namespace rwsim {

class BootPort;
class ReplyPipeline;
class SimDevice;

class MainConnection : public QObject {
  Q_OBJECT

 public:
  // Takes ownership of socket; deletes itself when the peer goes away.
  MainConnection(QTcpSocket* socket, SimDevice& device, const FaultSet& faults, std::mt19937& rng,
                 QObject* parent = nullptr);

  // Texts of the boot loader go to `port`; without one they are not answered.
  void setBootPort(BootPort* port) { boot_ = port; }
  // Closes the connection at once, as a restarting device does.
  void drop();

 private:
  void onReadyRead();

  QTcpSocket* socket_;
  SimDevice& device_;
  const FaultSet& faults_;
  std::mt19937& rng_;
  FrameReader reader_;
  ReplyPipeline* pipeline_;
  BootPort* boot_ = nullptr;
};

}  // namespace rwsim
