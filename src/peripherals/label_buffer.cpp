#include "peripherals/label_buffer.h"

#include <algorithm>

namespace vantor {

bool LabelBuffer::load(const std::string& path, std::string& error) {
  const std::optional<Bytes> bytes = readFileBytes(path, kLabelFileLimit, error);
  if (!bytes) {
    clear();
    return false;
  }
  assign(*bytes);
  return true;
}

void LabelBuffer::assign(ByteView bytes) {
  data_.assign(bytes.begin(), bytes.end());
  data_.push_back(0);
  loaded_ = true;
}

ByteView LabelBuffer::span(size_t offset, size_t count) const {
  if (offset >= data_.size()) return {};
  return ByteView(data_).subspan(offset, std::min(count, data_.size() - offset));
}

std::string_view LabelBuffer::text() const {
  const auto end = std::find(data_.begin(), data_.end(), uint8_t{0});
  return {reinterpret_cast<const char*>(data_.data()), static_cast<size_t>(end - data_.begin())};
}

uint8_t LabelBuffer::checksum() const {
  uint8_t sum = 0;
  for (size_t i = 0; i < kMaxChecksumBytes && i < data_.size() && data_[i] != 0; ++i)
    sum = static_cast<uint8_t>(sum + data_[i]);
  return sum;
}

}  // namespace vantor
