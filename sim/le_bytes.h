#pragma once

// Little-endian payload writing and reading for the simulator's own replies.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame_codec.h"

namespace rwsim {

inline void appendLe32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

inline void appendLe16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// A fixed-width text field: the text's bytes, zero-filled; a longer text is cut.
inline void appendText(Bytes& out, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  }
}

// The 32-bit little-endian value at offset; the caller checks the size.
inline std::uint32_t readLe32(const Bytes& in, std::size_t offset) {
  return static_cast<std::uint32_t>(in[offset]) | static_cast<std::uint32_t>(in[offset + 1]) << 8 |
         static_cast<std::uint32_t>(in[offset + 2]) << 16 |
         static_cast<std::uint32_t>(in[offset + 3]) << 24;
}

}  // namespace rwsim
