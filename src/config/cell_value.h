#pragma once
// The one rule for a grid cell that holds a 32-bit device value: cells show
// the value as unsigned decimal, and a typed cell may hold any integer from
// -2147483648 to 4294967295, of which the 32 bits are taken. So every value
// read from the device can be written back exactly as it is shown, and -1
// still means all bits set. Anything else is a conversion error.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantor {

// The application's standard conversion error: "'%s' is not a valid integer value".
class CellConversionError : public std::runtime_error {
 public:
  explicit CellConversionError(std::string_view cell);
  const std::string& cell() const { return cell_; }

 private:
  std::string cell_;
};

// Decimal digits with an optional sign, blanks allowed before and after;
// nullopt for anything else or a number outside -2147483648 .. 4294967295.
std::optional<uint32_t> parseCell32(std::string_view text);
// As parseCell32, but a text that does not convert raises CellConversionError.
uint32_t cellValue32(std::string_view text);
// How a cell shows a value: unsigned decimal.
std::string cellText(uint32_t value);

}  // namespace vantor
