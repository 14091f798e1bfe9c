#pragma once
// The display terminal's screen as command 3 answers it: 16 lines in slots of
// 31 bytes, back to back. A line ends at its first zero byte and has at most
// 30 characters: the 31st byte of a slot is never shown, also when the slot
// holds no zero byte.
#include <array>
#include <string>

#include "link/bytes.h"

namespace vantor {

inline constexpr size_t kDisplayLines = 16;
inline constexpr size_t kDisplaySlot = 31;
inline constexpr size_t kDisplayColumns = 30;
inline constexpr size_t kDisplayBytes = kDisplayLines * kDisplaySlot;  // 496

using DisplayLines = std::array<std::string, kDisplayLines>;

// Reads the 16 lines; slots that did not arrive read as empty lines and the
// reader reports the reply as short.
DisplayLines decodeDisplay(PayloadReader& payload);

}  // namespace vantor
