#pragma once
// The reject-label block of commands 43 and 44 (816 bytes) and the label
// validity table of command 42 (36 bytes).
//
//   offset 100*i, 100 bytes: text slot i (i = 1 .. 7), zero-terminated, at most 99 characters
//   offset 800 + 2*i, 2 bytes: value i, low byte first
// Slot 0 and value 0 are not shown and are sent back as they were read.
#include <array>
#include <cstdint>
#include <string>

#include "link/bytes.h"

namespace vantor {

inline constexpr size_t kRejectBlockSize = 816;
inline constexpr size_t kRejectSlots = 7;
inline constexpr size_t kRejectTextWidth = 100;
inline constexpr size_t kRejectTextMax = 99;
inline constexpr size_t kValidityBytes = 36;
inline constexpr size_t kValidityColumns = 4;
inline constexpr size_t kValidityRows = 9;

// The reject cases, rows 1 .. 7 of GridErLb.
inline constexpr std::array<const char*, kRejectSlots> kRejectCaseLabels{
    "P. Acima", "P. Abaixo", "NoRead", "No Cadas", "Ja Apont", "No Peso", "Cx parada"};

struct RejectLabels {
  std::array<uint8_t, kRejectBlockSize> block{};

  // Reads the reply's 816 bytes; missing bytes read as zero (the reader tells
  // the channel that the reply was short).
  void decode(PayloadReader& payload);
  // Text slot i (1 .. 7), up to its zero byte and never more than 99 characters.
  std::string text(size_t i) const;
  uint16_t value(size_t i) const;
  // Writes text slot i: cut to 99 characters, zero-filled to its 100 bytes.
  void setText(size_t i, const std::string& text);
  void setValue(size_t i, uint16_t value);
};

// Cell (column c, row r) of GridPrValid is payload byte 4*r + c.
using ValidityTable = std::array<uint8_t, kValidityBytes>;
ValidityTable decodeValidity(PayloadReader& payload);

}  // namespace vantor
