#include "reply_pipeline.h"

#include <QTcpSocket>

namespace rwsim {

ReplyPipeline::ReplyPipeline(QTcpSocket* socket, const FaultSet& faults, QObject* parent,
                             const PipelineFaults& modes)
    : QObject(parent), socket_(socket), faults_(faults), modes_(modes) {
  joinTimer_.setTimerType(Qt::PreciseTimer);
  joinTimer_.setSingleShot(true);
  joinTimer_.setInterval(kJoinHoldMs);
  connect(&joinTimer_, &QTimer::timeout, this, &ReplyPipeline::flushHeld);
  pauseTimer_.setTimerType(Qt::PreciseTimer);
  pauseTimer_.setSingleShot(true);
  connect(&pauseTimer_, &QTimer::timeout, this, &ReplyPipeline::pump);
}

void ReplyPipeline::send(const QByteArray& reply) {
  if (modes_.slow && faults_.has(FaultMode::Slow) && faults_.slowMs() > 0) {
    // Timers of equal interval fire in the order they were started, so
    // delayed replies keep their order.
    QTimer::singleShot(static_cast<int>(faults_.slowMs()), Qt::PreciseTimer, this,
                       [this, reply] { join(reply); });
    return;
  }
  join(reply);
}

void ReplyPipeline::send(const Bytes& reply) {
  send(QByteArray(reinterpret_cast<const char*>(reply.data()),
                  static_cast<qsizetype>(reply.size())));
}

void ReplyPipeline::join(const QByteArray& reply) {
  if (!faults_.has(modes_.join)) {
    flushHeld();  // anything held from before the mode was cleared goes first
    release(reply);
    return;
  }
  held_ += reply;
  if (++heldReplies_ >= 2) {
    flushHeld();
  } else {
    joinTimer_.start();
  }
}

void ReplyPipeline::flushHeld() {
  joinTimer_.stop();
  if (held_.isEmpty()) {
    return;
  }
  const QByteArray bytes = held_;
  held_.clear();
  heldReplies_ = 0;
  release(bytes);
}

void ReplyPipeline::release(const QByteArray& bytes) {
  if (faults_.has(modes_.split)) {
    const Bytes whole(bytes.begin(), bytes.end());
    int pause = 0;
    for (const Bytes& piece : splitPieces(whole, modes_.splitPieces)) {
      queue_.push_back({QByteArray(reinterpret_cast<const char*>(piece.data()),
                                   static_cast<qsizetype>(piece.size())),
                        pause});
      pause = kSplitPauseMs;
    }
  } else {
    queue_.push_back({bytes, 0});
  }
  pump();
}

void ReplyPipeline::pump() {
  while (!queue_.empty() && !pauseTimer_.isActive()) {
    Chunk& front = queue_.front();
    if (front.pauseBeforeMs > 0) {
      pauseTimer_.start(front.pauseBeforeMs);
      front.pauseBeforeMs = 0;
      return;
    }
    if (socket_->state() == QAbstractSocket::ConnectedState) {
      socket_->write(front.bytes);
      socket_->flush();
    }
    queue_.pop_front();
  }
}

}  // namespace rwsim
