#include "config/cell_value.h"

#include "link/text_format.h"

namespace vantor {

namespace {
constexpr int64_t kLowest = -2147483648LL;
constexpr int64_t kHighest = 4294967295LL;

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}
}  // namespace

CellConversionError::CellConversionError(std::string_view cell)
    : std::runtime_error(format("'%.*s' is not a valid integer value",
                                static_cast<int>(cell.size()), cell.data())),
      cell_(cell) {}

std::optional<uint32_t> parseCell32(std::string_view text) {
  std::string_view s = trimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  int64_t magnitude = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kHighest) return std::nullopt;  // also keeps the sum from overflowing
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value < kLowest) return std::nullopt;
  return static_cast<uint32_t>(value);  // modulo 2^32: the value's 32 bits
}

uint32_t cellValue32(std::string_view text) {
  const std::optional<uint32_t> v = parseCell32(text);
  if (!v) throw CellConversionError(text);
  return *v;
}

std::string cellText(uint32_t value) { return format("%u", value); }

}  // namespace vantor
