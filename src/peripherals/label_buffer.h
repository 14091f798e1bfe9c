#pragma once
// The loaded label template: the file's bytes followed by a zero byte.
//
// A file of 65536 bytes or more is refused when it is loaded: the device takes
// a label's upload offset in 16 bits, so a longer label would wrap around and
// overwrite the start of the device's label memory.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/file_bytes.h"
#include "link/bytes.h"

namespace vantor {

inline constexpr FileLimit kLabelFileLimit{65535, "a label file"};
inline constexpr size_t kMaxChecksumBytes = 10000;

class LabelBuffer {
 public:
  // Replaces the label with the file's bytes; on failure the label is empty
  // and `error` says why ("Cannot open PATH: ...", "PATH is N bytes; ...").
  bool load(const std::string& path, std::string& error);
  void assign(ByteView bytes);  // for labels that come from elsewhere
  void clear() {
    data_.assign(1, 0);
    loaded_ = false;
  }

  bool loaded() const { return loaded_; }
  size_t length() const { return data_.size() - 1; }
  // The byte at `offset`; zero at and past the end.
  uint8_t at(size_t offset) const { return offset < data_.size() ? data_[offset] : 0; }
  // Up to `count` bytes from `offset`, never past the terminating zero byte's end.
  ByteView span(size_t offset, size_t count) const;
  // The text up to the first zero byte.
  std::string_view text() const;
  // The sum, modulo 256, of the bytes up to the first zero byte, over at most
  // the first 10000 bytes.
  uint8_t checksum() const;

 private:
  Bytes data_ = Bytes(1, 0);
  bool loaded_ = false;
};

}  // namespace vantor
