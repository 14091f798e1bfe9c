#include "peripherals/integrator_frame.h"

#include "link/text_format.h"

namespace vantor {

using namespace integrator;

uint8_t integratorBcc(std::string_view text) {
  uint8_t bcc = 0;
  for (char c : text) bcc = static_cast<uint8_t>(bcc ^ static_cast<uint8_t>(c));
  return bcc;
}

Bytes frameIntegratorText(std::string_view text) {
  Bytes out;
  out.reserve(text.size() + 3);
  out.push_back(kStx);
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(kEtx);
  out.push_back(integratorBcc(text));
  return out;
}

std::string decimalBytes(ByteView bytes) {
  std::string line;
  line.reserve(bytes.size() * 4);
  for (uint8_t b : bytes) line += format("%u\t", b);
  return line;
}

void IntegratorReader::clear() {
  state_ = State::Hunting;
  msg_.clear();
  junk_.clear();
  discarded_ = 0;
}

void IntegratorReader::flushJunk(IntegratorSink& sink) {
  if (junk_.empty()) return;
  sink.integratorRejected("no STX", junk_);
  junk_.clear();
}

void IntegratorReader::startMessage(int64_t nowMs) {
  msg_.assign(1, kStx);
  state_ = State::Text;
  since_ = nowMs;
}

void IntegratorReader::expire(int64_t nowMs, IntegratorSink& sink) {
  if (state_ == State::Hunting || nowMs - since_ <= kPartialTimeoutMs) return;
  if (state_ == State::Discarding) {
    state_ = State::Hunting;
    return;
  }
  sink.integratorRejected("partial message dropped after 1000 ms", msg_);
  msg_.clear();
  state_ = State::Hunting;
}

void IntegratorReader::feed(ByteView bytes, int64_t nowMs, IntegratorSink& sink) {
  expire(nowMs, sink);
  for (uint8_t b : bytes) {
    switch (state_) {
      case State::Hunting:
        if (b == kStx) {
          flushJunk(sink);
          startMessage(nowMs);
        } else if (junk_.size() < kMaxText) {
          junk_.push_back(b);
        }
        break;
      case State::Discarding:
        if (b == kStx) startMessage(nowMs);
        break;
      case State::Text:
        if (b == kEtx) {
          msg_.push_back(b);
          state_ = State::Bcc;
        } else if (b == kStx) {
          // A new message starts before this one ended: the old start is debris.
          sink.integratorRejected("no ETX before the next STX", msg_);
          startMessage(nowMs);
        } else if (msg_.size() - 1 == kMaxText) {
          sink.integratorRejected("message over 3000 bytes dropped", ByteView(msg_).first(16));
          msg_.clear();
          state_ = State::Discarding;
        } else {
          msg_.push_back(b);
        }
        break;
      case State::Bcc: {
        const size_t textLen = msg_.size() - 2;
        const bool good =
            b == integratorBcc({reinterpret_cast<const char*>(msg_.data()) + 1, textLen});
        msg_.push_back(b);
        state_ = State::Hunting;
        if (good)
          sink.integratorMessage({reinterpret_cast<const char*>(msg_.data()) + 1, textLen}, msg_);
        else
          sink.integratorRejected("bad BCC", msg_);
        msg_.clear();
        break;
      }
    }
  }
  flushJunk(sink);
}

}  // namespace vantor
