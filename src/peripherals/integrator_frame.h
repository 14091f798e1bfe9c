#pragma once
// The integrator text frame, used on both integrator ports in both directions:
// STX, the text, ETX, and the BCC (the exclusive-or of the text bytes).
//
// IntegratorReader cuts messages out of one socket's byte stream. Received
// bytes accumulate; a message is cut at STX .. ETX + BCC, so two messages in
// one read are both delivered and a message split over reads arrives once.
// Bytes outside a message (before an STX, or a message restarted by a new STX)
// and messages failing the BCC are reported and skipped. A partial message
// that waits longer than kPartialTimeoutMs is given up, and a text longer than
// kMaxText bytes is dropped: nothing held grows without bound.
#include <cstdint>
#include <string>
#include <string_view>

#include "link/bytes.h"

namespace vantor {

namespace integrator {
inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;
}  // namespace integrator

uint8_t integratorBcc(std::string_view text);
// STX, text, ETX, BCC.
Bytes frameIntegratorText(std::string_view text);
// Every byte as an unsigned decimal number followed by a tab (the receive log's form).
std::string decimalBytes(ByteView bytes);

class IntegratorSink {
 public:
  virtual ~IntegratorSink() = default;
  // A good message: its text (between STX and ETX) and the whole frame.
  virtual void integratorMessage(std::string_view text, ByteView frame) = 0;
  // Bytes skipped, with why: "bad BCC", "no STX", "partial message dropped after 1000 ms",
  // "message over 3000 bytes dropped". `bytes` holds at most kMaxText + 2 of them.
  virtual void integratorRejected(const char* why, ByteView bytes) = 0;
};

class IntegratorReader {
 public:
  static constexpr size_t kMaxText = 3000;
  static constexpr int64_t kPartialTimeoutMs = 1000;

  void feed(ByteView bytes, int64_t nowMs, IntegratorSink& sink);
  // Gives up a partial message that has waited too long; called on the poll tick.
  void expire(int64_t nowMs, IntegratorSink& sink);
  void clear();
  bool idle() const { return state_ == State::Hunting && junk_.empty(); }

 private:
  enum class State { Hunting, Text, Bcc, Discarding };
  void flushJunk(IntegratorSink& sink);
  void startMessage(int64_t nowMs);

  State state_ = State::Hunting;
  Bytes msg_;   // STX and the text so far (then ETX)
  Bytes junk_;  // skipped bytes not yet reported
  size_t discarded_ = 0;
  int64_t since_ = 0;
};

}  // namespace vantor
