#pragma once

// Puts finished replies on one connection's socket, applying the timing fault
// modes on the way: slow (delay), join (two replies in one write) and split
// (three writes with pauses). Without those each reply is one immediate write.
// Bytes always leave in the order the replies were handed in. The side ports'
// integrator messages go the same way under their own modes (side-join, and
// side-split in two pieces).

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstddef>
#include <deque>

#include "fault_set.h"

class QTcpSocket;

namespace rwsim {

// The fault modes that shape one pipeline's writes.
struct PipelineFaults {
  FaultMode join;
  FaultMode split;
  std::size_t splitPieces;
  bool slow;  // whether FaultMode::Slow delays the writes
};
inline constexpr PipelineFaults kReplyFaults{FaultMode::Join, FaultMode::Split, kSplitPieces, true};
inline constexpr PipelineFaults kSideFaults{FaultMode::SideJoin, FaultMode::SideSplit, 2, false};

class ReplyPipeline : public QObject {
  Q_OBJECT

 public:
  ReplyPipeline(QTcpSocket* socket, const FaultSet& faults, QObject* parent = nullptr,
                const PipelineFaults& modes = kReplyFaults);

  void send(const QByteArray& reply);
  void send(const Bytes& reply);

 private:
  struct Chunk {
    QByteArray bytes;
    int pauseBeforeMs = 0;
  };

  void join(const QByteArray& reply);
  void flushHeld();
  void release(const QByteArray& bytes);
  void pump();

  QTcpSocket* socket_;
  const FaultSet& faults_;
  const PipelineFaults modes_;
  QByteArray held_;
  int heldReplies_ = 0;
  QTimer joinTimer_;
  std::deque<Chunk> queue_;
  QTimer pauseTimer_;
};

}  // namespace rwsim
