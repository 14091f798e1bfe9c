#pragma once

// Frame layout on the RW4000 main port, the same in both directions:
//   STX IDS IDM CNH CNL PNH PNL CMD <ParNum bytes> CKH CKL ETX
// The checksum is the 16-bit sum of every byte from IDS up to the last
// parameter byte. Header fields are big-endian; values inside payloads are not.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rwsim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::uint8_t kIds = 0x00;
inline constexpr std::uint8_t kIdm = 0x01;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;

inline constexpr std::size_t kHeaderSize = 8;   // STX .. CMD
inline constexpr std::size_t kTrailerSize = 3;  // CKH CKL ETX
inline constexpr std::size_t kFrameOverhead = kHeaderSize + kTrailerSize;
inline constexpr std::size_t kMaxParNum = 0xFFFF;
inline constexpr std::size_t kCommandOffset = 7;
inline constexpr std::size_t kParamsOffset = 8;

struct Frame {
  std::uint16_t counter = 0;
  std::uint8_t command = 0;
  Bytes params;

  bool operator==(const Frame&) const = default;
};

// Sum of the bytes from IDS through the last parameter byte of a complete
// frame (checksum and ETX excluded), modulo 65536. The frame must be at least
// kFrameOverhead bytes long.
std::uint16_t frameChecksum(std::span<const std::uint8_t> frame);

// Builds the complete wire bytes of a frame. params must not exceed kMaxParNum.
Bytes encodeFrame(const Frame& frame);

// Recomputes CKH/CKL of a complete frame after its bytes were edited in place.
void resealFrame(Bytes& frame);

// True when the checksum bytes of a complete frame match its contents.
bool checksumMatches(std::span<const std::uint8_t> frame);

// Cuts complete frames out of a byte stream. Bytes before an STX, and an STX
// that does not start a well-formed frame (wrong IDS/IDM, missing ETX or bad
// checksum), are dropped and the search goes on from the next STX.
class FrameReader {
 public:
  void append(std::span<const std::uint8_t> bytes);

  // Next complete frame, or nothing until more bytes arrive.
  std::optional<Frame> next();

  std::size_t discardedBytes() const { return discarded_; }
  std::size_t bufferedBytes() const { return buffer_.size() - head_; }

 private:
  void drop(std::size_t count);
  void compact();

  Bytes buffer_;
  std::size_t head_ = 0;  // first unconsumed byte in buffer_
  std::size_t discarded_ = 0;
};

}  // namespace rwsim
