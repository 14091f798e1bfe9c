#pragma once
// The texts of the clock and of the serial receive buffer, decoded from their
// replies, and the clock's request digits.
#include <array>
#include <string>
#include <vector>

#include "link/bytes.h"
#include "link/seams.h"

namespace vantor {

inline constexpr size_t kRxBufferBytes = 256;
inline constexpr size_t kClockReplyBytes = 14;
inline constexpr size_t kClockRequestBytes = 16;

using RxBuffer = std::array<uint8_t, kRxBufferBytes>;

// The receive buffer image of reply 1; bytes that did not arrive read as zero
// and the reader reports the reply as short.
RxBuffer decodeRxBuffer(PayloadReader& payload);
// The buffer as text up to its first zero byte.
std::string rxText(const RxBuffer& buffer);
// Memo3: the text line, an empty line, then 16 lines of 16 bytes, each byte as
// two upper-case hex digits and two blanks (64 characters a line).
std::vector<std::string> memo3Lines(const RxBuffer& buffer);

// DateStr from reply 6: "HH:MM:SS DD-MM-YYYY" from the time digits at 8..13
// and the date digits at 0..7, each byte taken as a character. A zero byte
// (also one that did not arrive) ends the text there.
std::string dateStrText(PayloadReader& payload);

// Request 5: DDMMYYYY, a zero byte, HHMMSS, a zero byte. Throws RequestRefused
// for a time that does not give these digits.
std::array<uint8_t, kClockRequestBytes> clockRequest(const LocalTime& t);

}  // namespace vantor
