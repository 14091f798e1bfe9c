#include "link/bytes.h"

#include "link/text_format.h"

namespace vantor {

uint64_t PayloadReader::raw(size_t offset, size_t width) {
  if (offset + width > wanted_) wanted_ = offset + width;
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) {
    const size_t at = offset + i;
    const uint64_t byte = at < data_.size() ? data_[at] : 0;
    value |= byte << (8 * i);
  }
  return value;
}

std::string PayloadReader::text(size_t offset, size_t width) {
  if (offset + width > wanted_) wanted_ = offset + width;
  std::string out;
  for (size_t i = 0; i < width; ++i) {
    const size_t at = offset + i;
    if (at >= data_.size() || data_[at] == 0) break;
    out.push_back(static_cast<char>(data_[at]));
  }
  return out;
}

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}

std::string hexGroups(ByteView bytes) {
  std::string out(bytes.size() * 4, ' ');
  for (size_t i = 0; i < bytes.size(); ++i) {
    out[4 * i] = kHexDigits[bytes[i] >> 4];
    out[4 * i + 1] = kHexDigits[bytes[i] & 0x0F];
  }
  return out;
}

std::string hexSpaced(ByteView bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out.push_back(' ');
    out += format("%02X", bytes[i]);
  }
  return out;
}

}  // namespace vantor
