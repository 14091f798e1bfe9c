#pragma once
// Byte helpers shared by every request builder and reply decoder.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

// The same bytes seen as text, or a text seen as bytes.
inline std::string_view asText(ByteView bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}
inline ByteView asBytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Bounds-checked little-endian reader over a received payload.
//
// The short-reply rule of the tool: a field that lies (partly) past the end of
// what arrived reads as zero for its missing bytes, and the reader remembers
// how far the decoder wanted to read, so the dispatcher can report the reply as
// short. No read ever touches memory past the payload.
class PayloadReader {
 public:
  explicit PayloadReader(ByteView payload) : data_(payload) {}

  uint8_t u8(size_t offset) { return static_cast<uint8_t>(raw(offset, 1)); }
  uint16_t u16(size_t offset) { return static_cast<uint16_t>(raw(offset, 2)); }
  uint32_t u32(size_t offset) { return static_cast<uint32_t>(raw(offset, 4)); }
  int32_t s32(size_t offset) { return static_cast<int32_t>(u32(offset)); }

  // Text of a fixed-width field: up to the first zero byte or the field's end.
  // Bytes of the field that did not arrive count as zero.
  std::string text(size_t offset, size_t width);

  size_t size() const { return data_.size(); }
  ByteView bytes() const { return data_; }
  // The furthest byte count a decoder asked for; larger than size() when short.
  size_t wanted() const { return wanted_; }
  bool wasShort() const { return wanted_ > data_.size(); }

 private:
  uint64_t raw(size_t offset, size_t width);

  ByteView data_;
  size_t wanted_ = 0;
};

// Hex read-out groups: each byte as two upper-case hex digits and two blanks.
std::string hexGroups(ByteView bytes);
// Plain hex dump "02 00 01 ..." used by the command-line tool.
std::string hexSpaced(ByteView bytes);

}  // namespace vantor
