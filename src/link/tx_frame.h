#pragma once
// Request assembly in the one transmit buffer of the link.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "link/frame.h"

namespace vantor {

// Raised by a request builder that cannot build its request (for example a
// grid cell that is not a number): the command is dropped from the queue
// unsent, its text goes to the main link's error panel, and the queue goes on.
class RequestRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when a request's parameters would not fit the transmit buffer; the
// request is refused and nothing is written past the buffer.
class RequestTooLarge : public RequestRefused {
 public:
  using RequestRefused::RequestRefused;
};

// Parameter writer handed to a request builder: every value goes at the next
// parameter offset, multi-byte values little-endian.
class RequestWriter {
 public:
  virtual ~RequestWriter() = default;
  virtual void put8(uint8_t v) = 0;
  void put16(uint16_t v) {
    put8(static_cast<uint8_t>(v));
    put8(static_cast<uint8_t>(v >> 8));
  }
  void put32(uint32_t v) {
    put16(static_cast<uint16_t>(v));
    put16(static_cast<uint16_t>(v >> 16));
  }
  void putBytes(ByteView bytes) {
    for (uint8_t b : bytes) put8(b);
  }
};

class TxFrame final : public RequestWriter {
 public:
  // Starts a request: ParNum := 0, CmdNum + 1 (wrapping), header written.
  void begin(int commandCode);
  void put8(uint8_t v) override;
  // Completes ParNum, checksum and ETX; returns the whole frame.
  ByteView finish();

  uint16_t cmdNum() const { return cmdNum_; }
  void setCmdNum(uint16_t n) { cmdNum_ = n; }
  uint16_t parNum() const { return parNum_; }

  // Read-outs of the last request: "%6d %6d" of CmdNum and ParNum, and the
  // header and trailer bytes in hex groups (parameters are not shown).
  std::string msComPr() const;
  std::string protMaster() const;

 private:
  std::array<uint8_t, frame::kTxCapacity> buf_{};
  uint16_t cmdNum_ = 0;
  uint16_t parNum_ = 0;
  int code_ = 0;
};

}  // namespace vantor
