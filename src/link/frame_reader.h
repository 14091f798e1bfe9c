#pragma once
// Cuts reply frames out of the main port's byte stream.
//
// Received bytes accumulate in a buffer; every complete frame is checked in
// this order: STX, IDS, IDM, ParNum at least 1, ETX, checksum, ACK. A good
// frame is handed on; a bad one is reported with its check text and the reader
// resynchronises on the next STX, so a good frame after it is not lost. A
// partial frame that is not completed within kPartialTimeoutMs is given up with
// "NET_ERR_LOWPAR" up to the next STX, and what follows is read again, so a
// truncated reply or a damaged header cannot block the link or hide a good
// reply behind it.
//
// After a reported error the reader stays quiet about what it skips until the
// next good frame or the end of the received bytes, so the first fault stays
// visible instead of being overwritten by its own debris.
#include <cstdint>
#include <optional>
#include <string>

#include "link/bytes.h"

namespace vantor {

struct FrameCounters {
  uint16_t replyCounter = 0;
  uint16_t parNum = 0;
};

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual void frameGood(ByteView frame) = 0;
  // head: the first bytes of the rejected candidate (at most STX .. ACK) as far as
  // they arrived; counters: once ParNum had been read.
  virtual void frameError(const std::string& text, ByteView head,
                          std::optional<FrameCounters> counters) = 0;
};

class FrameReader {
 public:
  static constexpr int64_t kPartialTimeoutMs = 1000;

  void feed(ByteView bytes, int64_t nowMs, FrameSink& sink);
  // Drops a partial frame that has waited too long; called on the poll tick.
  void expire(int64_t nowMs, FrameSink& sink);
  void clear();
  size_t pending() const { return buf_.size() - start_; }

 private:
  enum class Step { Consumed, NeedMore };
  void parse(int64_t nowMs, FrameSink& sink);
  Step next(FrameSink& sink);
  void reject(FrameSink& sink, const char* text, size_t headLen,
              std::optional<FrameCounters> counters, size_t skip);
  void dropTo(size_t pos);
  size_t nextStxAfter(size_t offset) const;

  Bytes buf_;
  Bytes current_;             // the good frame being handed on
  size_t start_ = 0;          // first unread byte of buf_
  int64_t partialSince_ = 0;  // when the pending bytes started waiting
  bool resyncing_ = false;
};

}  // namespace vantor
