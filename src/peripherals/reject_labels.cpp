#include "peripherals/reject_labels.h"

#include <algorithm>

namespace vantor {

void RejectLabels::decode(PayloadReader& payload) {
  for (size_t i = 0; i < block.size(); ++i) block[i] = payload.u8(i);
}

std::string RejectLabels::text(size_t i) const {
  const auto begin = block.begin() + static_cast<ptrdiff_t>(kRejectTextWidth * i);
  const auto end = std::find(begin, begin + kRejectTextMax, uint8_t{0});
  return std::string(begin, end);
}

uint16_t RejectLabels::value(size_t i) const {
  const size_t at = 800 + 2 * i;
  return static_cast<uint16_t>(block[at] | block[at + 1] << 8);
}

void RejectLabels::setText(size_t i, const std::string& text) {
  const auto begin = block.begin() + static_cast<ptrdiff_t>(kRejectTextWidth * i);
  std::fill(begin, begin + kRejectTextWidth, uint8_t{0});
  std::copy_n(text.begin(), std::min(text.size(), kRejectTextMax), begin);
}

void RejectLabels::setValue(size_t i, uint16_t value) {
  block[800 + 2 * i] = static_cast<uint8_t>(value);
  block[800 + 2 * i + 1] = static_cast<uint8_t>(value >> 8);
}

ValidityTable decodeValidity(PayloadReader& payload) {
  ValidityTable t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = payload.u8(i);
  return t;
}

}  // namespace vantor
