// The decoders of the table list (reply 62) and of a parameter descriptor
// (reply 64) fed any payload: the store stays within its limits, every text
// within its slot, and nothing is read past the payload.
#include <cstdint>
#include <cstdlib>

#include "config/par_table_store.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView payload(data, size);
  ParTableStore store;
  PayloadReader list(payload);
  store.storeTableList(list);
  if (store.tableCount() > ParTableStore::kMaxTables) std::abort();
  for (size_t t = 0; t < ParTableStore::kMaxTables; ++t) {
    const ParTable& table = store.table(t);
    if (table.paramCount > ParTableStore::kMaxParams || table.level > ParTableStore::kMaxLevel)
      std::abort();
    if (table.name.size() >= ParTableStore::kTableNameWire) std::abort();
  }
  for (const std::string& code : store.accessCodes())
    if (code.size() >= ParTableStore::kCodeSlot) std::abort();

  // The same bytes as a descriptor at the widths just announced.
  PayloadReader reply(payload);
  store.storeDescriptor(0, 0, reply);
  const ParDescriptor& d = store.table(0).params[0];
  if (d.name.size() >= ParDescriptor::kNameSlot || d.help.size() >= ParDescriptor::kHelpSlot ||
      d.unit.size() > ParDescriptor::kUnitWire)
    std::abort();
  if (reply.wanted() != descriptorSize(store.nameWidth(), store.helpWidth())) std::abort();
  (void)rangeText(d);
  return 0;
}
