#pragma once
// One device-described item: the parameters of the tables, and the product
// fields, which share its layout on the wire.
//
// Wire layout, with the field widths the device announced with its table
// list: name (NameWidth bytes), help (HelpWidth bytes), unit (3 bytes), then
// min, max, default and value as unsigned 32-bit little-endian. Texts end at
// their first zero byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/bytes.h"

namespace vantor {

struct ParDescriptor {
  // Slots of the store; a text keeps at most slot - 1 characters.
  static constexpr size_t kNameSlot = 30;
  static constexpr size_t kHelpSlot = 200;
  static constexpr size_t kUnitWire = 3;

  std::string name;
  std::string help;
  std::string unit;
  uint32_t min = 0;
  uint32_t max = 0;
  uint32_t def = 0;
  uint32_t value = 0;

  // Limits are compared unsigned.
  bool accepts(uint32_t v) const { return v >= min && v <= max; }
  bool operator==(const ParDescriptor&) const = default;
};

// Bytes of one descriptor on the wire for these widths.
constexpr size_t descriptorSize(size_t nameWidth, size_t helpWidth) {
  return nameWidth + helpWidth + 19;
}

// Decodes the parts every descriptor has (texts, min, max, default; no value)
// at the announced widths: name, help, unit, then three 32-bit numbers. Texts
// are cut to their slots; a short payload follows the short-reply rule.
ParDescriptor decodeFieldDescriptor(PayloadReader& payload, size_t nameWidth, size_t helpWidth);

// Decodes a descriptor at the announced widths. Widths wider than the slots
// still place the numbers right; only the texts are cut to their slots. A
// short payload follows the reader's short-reply rule.
ParDescriptor decodeParDescriptor(PayloadReader& payload, size_t nameWidth, size_t helpWidth);

// RangePar: "DEF: %d %s [%d - %d]" of default, unit, min and max, the numbers
// as signed decimal.
std::string rangeText(const ParDescriptor& d);

// A text field cut to what its slot holds (slot - 1 characters).
std::string fitSlot(std::string text, size_t slot);

}  // namespace vantor
