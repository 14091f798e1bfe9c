#pragma once

// Puts finished replies on one connection's socket, applying the timing fault
// modes on the way: slow (delay), join (two replies in one write) and split
// (three writes with pauses). Without those each reply is one immediate write.
// Bytes always leave in the order the replies were handed in.

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <deque>

#include "fault_set.h"

class QTcpSocket;

namespace rwsim {

class ReplyPipeline : public QObject {
  Q_OBJECT

 public:
  ReplyPipeline(QTcpSocket* socket, const FaultSet& faults, QObject* parent = nullptr);

  void send(const QByteArray& reply);

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
  QByteArray held_;
  int heldReplies_ = 0;
  QTimer joinTimer_;
  std::deque<Chunk> queue_;
  QTimer pauseTimer_;
};

}  // namespace rwsim
