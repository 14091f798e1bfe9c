#pragma once

// The device's product store: its structure (command 61), one field
// descriptor per request (60), the product count and one product (50) and the
// write of one product (31), which a later read shows.
//
// Command 61 reply: title (30 bytes), a spare byte, capacity (uint16), the
// text field count TF, TF widths, the integer field count IC.
// Command 60 request: 0, field number. Reply: name (name width of the
// parameter tables), help (help width), unit (3 bytes), min, max, default
// (uint32 each). A field that does not exist answers an all-zero descriptor.
// Command 50 request: product number (uint16); 500 asks for the count, which
// is answered in four bytes (count, uint16, and two zero bytes). A product
// answers its TF texts (each zero-filled to its width) and its IC-1 integers
// (int32); a number past the capacity gets NAK, one past the count zeros.
// Command 31 request: number, the texts and the integers as above. A number
// past the count, or any other size, is refused with NAK; the number just past
// the count adds a product.

#include <cstdint>
#include <string>
#include <vector>

#include "sim_device.h"

namespace rwsim {

inline constexpr std::uint8_t kCmdWriteProduct = 31;
inline constexpr std::uint8_t kCmdProduct = 50;
inline constexpr std::uint8_t kCmdProductField = 60;
inline constexpr std::uint8_t kCmdProductStructure = 61;

struct SimField {
  std::string name;
  std::string help;
  std::string unit;
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  std::uint32_t def = 0;
};

struct SimProduct {
  std::vector<std::string> texts;     // code, description, lot
  std::vector<std::int32_t> numbers;  // integer fields 1 .. IC-1
};

class SimProducts {
 public:
  static constexpr std::uint16_t kCountRequest = 500;
  static constexpr std::size_t kMaxProducts = 500;

  // A line's articles: three text fields (code 21, description 41, lot 13
  // bytes) and seven integer fields, `count` products (at most 500).
  static SimProducts standard(std::size_t count = 25);

  // Registers the four handlers; descriptor texts take the widths of the
  // device's parameter tables at the time of each request.
  void install(SimDevice& device);

  Answer structure() const;
  Answer field(const Frame& request, std::size_t nameWidth, std::size_t helpWidth) const;
  Answer product(const Frame& request) const;
  Answer writeProduct(const Frame& request);

  std::string title;
  std::uint16_t capacity = 500;
  std::vector<std::uint8_t> textWidths;
  std::vector<SimField> fields;  // IC + TF, in field order
  std::vector<SimProduct> products;
  std::uint8_t intCount() const {
    return static_cast<std::uint8_t>(fields.size() - textWidths.size());
  }

 private:
  std::size_t recordSize() const;
  Bytes encode(const SimProduct& product) const;
};

}  // namespace rwsim
