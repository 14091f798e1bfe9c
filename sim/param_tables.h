#pragma once

// The device's self-described parameter tables: the table list (command 62),
// one parameter descriptor per request (64) and the write of a whole table's
// values (63), which a later read shows.
//
// Command 62 reply: name width, help width, table count T, code width C, the
// codes of access levels 1..3 (C bytes each), then per table a 30-byte name,
// its parameter count and its level.
// Command 64 request: table, row. Reply: name (name width), help (help
// width), unit (3 bytes), min, max, default, value (uint32 each). A row or
// table that does not exist answers an all-zero descriptor of the same size.
// Command 63 request: table, then one uint32 per parameter of that table; any
// other size is refused with NAK.

#include <cstdint>
#include <string>
#include <vector>

#include "sim_device.h"

namespace rwsim {

struct SimParameter {
  std::string name;
  std::string help;
  std::string unit;
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  std::uint32_t def = 0;
  std::uint32_t value = 0;
};

struct SimTable {
  std::string name;
  std::uint8_t level = 0;
  std::vector<SimParameter> parameters;
};

class SimParTables {
 public:
  static constexpr std::size_t kTableNameField = 30;

  // A commissioned line: seven tables from empty to 50 parameters, levels 0..3,
  // with values at the 32-bit edges.
  static SimParTables standard();
  // Ten tables of fifty parameters with the widest texts, for timing.
  static SimParTables full();

  Answer tableList() const;
  Answer descriptor(const Frame& request) const;
  Answer writeTable(const Frame& request);

  std::uint8_t nameWidth = 24;
  std::uint8_t helpWidth = 80;
  std::uint8_t codeWidth = 10;
  std::vector<std::string> accessCodes;  // levels 1, 2, 3
  std::vector<SimTable> tables;
};

}  // namespace rwsim
