#include "config/par_table_store.h"

#include <algorithm>

namespace vantor {

void ParTableStore::storeTableList(PayloadReader& p) {
  nameWidth_ = p.u8(0);
  helpWidth_ = p.u8(1);
  const size_t announced = p.u8(2);
  accessCodeWidth_ = p.u8(3);
  const size_t c = accessCodeWidth_;
  for (size_t i = 0; i < accessCodes_.size(); ++i)
    accessCodes_[i] = fitSlot(p.text(4 + i * c, c), kCodeSlot);

  tableCount_ = std::min(announced, kMaxTables);
  const size_t entries = 4 + 3 * c;
  for (size_t t = 0; t < kMaxTables; ++t) {
    ParTable& table = tables_[t];
    if (t >= tableCount_) {
      table.name.clear();
      table.paramCount = 0;
      table.level = 0;
      continue;
    }
    const size_t at = entries + t * kTableEntryWire;
    table.name = fitSlot(p.text(at, kTableNameWire), kTableNameWire);
    table.paramCount = std::min<uint8_t>(p.u8(at + kTableNameWire), kMaxParams);
    table.level = std::min<uint8_t>(p.u8(at + kTableNameWire + 1), kMaxLevel);
  }
}

void ParTableStore::storeDescriptor(size_t t, size_t r, PayloadReader& p) {
  if (t >= kMaxTables || r >= kMaxParams) return;
  tables_[t].params[r] = decodeParDescriptor(p, nameWidth_, helpWidth_);
}

void ParTableStore::writeTableValues(size_t t, RequestWriter& out) const {
  const ParTable& table = tables_.at(t);
  out.put8(static_cast<uint8_t>(t));
  for (size_t r = 0; r < table.paramCount; ++r) out.put32(table.params[r].value);
}

}  // namespace vantor
