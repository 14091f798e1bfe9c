#include "link/frame_reader.h"

#include <algorithm>

#include "link/frame.h"

namespace vantor {

namespace {
constexpr size_t kHeadLen = 9;  // STX .. ACK

FrameCounters countersOf(const uint8_t* f) {
  return {static_cast<uint16_t>(f[3] << 8 | f[4]), static_cast<uint16_t>(f[5] << 8 | f[6])};
}
}  // namespace

void FrameReader::clear() {
  buf_.clear();
  start_ = 0;
  resyncing_ = false;
}

void FrameReader::dropTo(size_t pos) {
  start_ = std::min(pos, buf_.size());
  if (start_ == buf_.size()) {
    buf_.clear();
    start_ = 0;
  }
}

size_t FrameReader::nextStxAfter(size_t offset) const {
  auto from = buf_.begin() + static_cast<std::ptrdiff_t>(start_ + offset);
  return static_cast<size_t>(std::find(from, buf_.end(), frame::kStx) - buf_.begin());
}

void FrameReader::reject(FrameSink& sink, const char* text, size_t headLen,
                         std::optional<FrameCounters> counters, size_t skip) {
  const bool quiet = resyncing_;
  const Bytes head(buf_.begin() + static_cast<std::ptrdiff_t>(start_),
                   buf_.begin() + static_cast<std::ptrdiff_t>(start_ + headLen));
  resyncing_ = true;
  dropTo(skip);
  if (!quiet) sink.frameError(text, head, counters);
}

void FrameReader::expire(int64_t nowMs, FrameSink& sink) {
  if (pending() == 0 || nowMs - partialSince_ < kPartialTimeoutMs) return;
  // Only the stale start is given up: from the next STX on, the bytes are read
  // again, so a good reply behind a damaged header is still handed on.
  const uint8_t* f = buf_.data() + start_;
  std::optional<FrameCounters> counters;
  if (f[0] == frame::kStx && pending() >= 7) counters = countersOf(f);
  reject(sink, "NET_ERR_LOWPAR", std::min(pending(), kHeadLen), counters, nextStxAfter(1));
  partialSince_ = nowMs;
  parse(nowMs, sink);
}

void FrameReader::feed(ByteView bytes, int64_t nowMs, FrameSink& sink) {
  if (bytes.empty()) return;
  expire(nowMs, sink);
  if (pending() == 0) partialSince_ = nowMs;
  if (start_ > 0) {
    buf_.erase(buf_.begin(), buf_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  buf_.insert(buf_.end(), bytes.begin(), bytes.end());
  parse(nowMs, sink);
}

void FrameReader::parse(int64_t nowMs, FrameSink& sink) {
  while (pending() > 0) {
    if (next(sink) == Step::NeedMore) break;
    partialSince_ = nowMs;  // whatever is left now starts waiting afresh
  }
  if (pending() == 0) resyncing_ = false;
}

FrameReader::Step FrameReader::next(FrameSink& sink) {
  const uint8_t* f = buf_.data() + start_;
  const size_t have = pending();
  const size_t head = std::min(have, kHeadLen);
  if (f[0] != frame::kStx) {
    const size_t skip = nextStxAfter(0);  // the debris ends where a frame may start
    reject(sink, "NET_ERR_STX", std::min(skip - start_, kHeadLen), std::nullopt, skip);
    return Step::Consumed;
  }
  if (have >= 2 && f[1] != frame::kIds) {
    reject(sink, "NET_ERR_NODE_TX", head, std::nullopt, nextStxAfter(1));
    return Step::Consumed;
  }
  if (have >= 3 && f[2] != frame::kIdm) {
    reject(sink, "NET_ERR_NODE_RX", head, std::nullopt, nextStxAfter(1));
    return Step::Consumed;
  }
  if (have < 7) return Step::NeedMore;
  const FrameCounters counters = countersOf(f);
  if (counters.parNum == 0) {
    reject(sink, "NET_ERR_MSG_NUM_LOW", head, counters, nextStxAfter(1));
    return Step::Consumed;
  }
  const size_t total = counters.parNum + frame::kOverhead;
  if (have < total) return Step::NeedMore;
  const size_t ck = frame::kHeaderSize + counters.parNum;
  if (f[ck + 2] != frame::kEtx) {
    reject(sink, "NET_ERR_ETX", head, counters, nextStxAfter(1));
    return Step::Consumed;
  }
  const uint16_t sum = frame::checksum(ByteView(f, ck));
  if (f[ck] != static_cast<uint8_t>(sum >> 8) || f[ck + 1] != static_cast<uint8_t>(sum)) {
    reject(sink, "NET_ERR_CHK", head, counters, start_ + total);
    return Step::Consumed;
  }
  if (f[8] != frame::kAck) {
    reject(sink, "NAK", head, counters, start_ + total);
    return Step::Consumed;
  }
  resyncing_ = false;
  current_.assign(f, f + total);
  dropTo(start_ + total);
  sink.frameGood(current_);
  return Step::Consumed;
}

}  // namespace vantor
