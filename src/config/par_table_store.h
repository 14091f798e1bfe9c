#pragma once
// ParTableStore: the parameter tables as the device describes them, with the
// wire codecs of the table list (reply 62), one descriptor (reply 64) and the
// values of one table (request 63). It holds data only; the sweeps that fill
// it and the page that shows it are ParTables.
//
// The store holds 10 tables of 50 descriptors. A device that announces more
// (tables, parameters, wider texts, a level above 3) is clamped to these
// limits: nothing past them is stored, and the wire layout is still read at
// the announced widths so every stored number comes from its right place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/par_descriptor.h"
#include "link/bytes.h"
#include "link/tx_frame.h"

namespace vantor {

struct ParTable {
  std::string name;  // item of ListTabs
  uint8_t paramCount = 0;
  uint8_t level = 0;  // writing needs access level >= level + 1
  std::array<ParDescriptor, 50> params;
};

class ParTableStore {
 public:
  static constexpr size_t kMaxTables = 10;
  static constexpr size_t kMaxParams = 50;
  static constexpr size_t kTableNameWire = 30;
  static constexpr size_t kTableEntryWire = 32;  // name, parameter count, level
  static constexpr size_t kCodeSlot = 10;
  static constexpr uint8_t kMaxLevel = 3;

  // Reply 62: widths, table count, the three access codes and the table
  // entries. Tables past the new count are emptied.
  void storeTableList(PayloadReader& payload);
  // Reply 64 for table t, row r (both within the store; others are ignored).
  void storeDescriptor(size_t t, size_t r, PayloadReader& payload);
  // Request 63: the table index, then the values of its parameters in row order.
  void writeTableValues(size_t t, RequestWriter& out) const;

  size_t tableCount() const { return tableCount_; }
  const ParTable& table(size_t t) const { return tables_.at(t); }
  ParTable& table(size_t t) { return tables_.at(t); }
  // Widths as announced by the last table list; products share them.
  uint8_t nameWidth() const { return nameWidth_; }
  uint8_t helpWidth() const { return helpWidth_; }
  uint8_t accessCodeWidth() const { return accessCodeWidth_; }
  // Codes of access levels 1, 2, 3 from the last table list.
  const std::array<std::string, 3>& accessCodes() const { return accessCodes_; }

 private:
  std::array<ParTable, kMaxTables> tables_{};
  size_t tableCount_ = 0;
  uint8_t nameWidth_ = 0;
  uint8_t helpWidth_ = 0;
  uint8_t accessCodeWidth_ = 0;
  std::array<std::string, 3> accessCodes_;
};

}  // namespace vantor
