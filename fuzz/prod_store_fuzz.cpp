// The decoders of the product structure (reply 61), a field descriptor (reply
// 60) and a product (reply 50) fed any payload: the structure stays within the
// store's limits, every text within its field, nothing is read past what the
// layout asks for, and a product is written in exactly its wire size or not
// at all.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "config/prod_store.h"

using namespace vantor;

namespace {

class Collect final : public RequestWriter {
 public:
  void put8(uint8_t v) override { bytes.push_back(v); }
  Bytes bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ByteView payload(data, size);
  ProdStore store;
  PayloadReader structure(payload);
  store.storeStructure(structure);
  const ProdStructure& s = store.structure();
  if (s.capacity > ProdStructure::kMaxCapacity || s.textCount() > ProdStructure::kMaxTextFields ||
      s.intCount > ProdStructure::kMaxIntFields || s.title.size() > ProdStructure::kTitleWire)
    std::abort();
  for (uint8_t w : s.textWidths)
    if (w > ProdStructure::kMaxTextWidth) std::abort();
  if (structure.wanted() != 35 + s.wireTextWidths.size()) std::abort();

  // The same bytes as every descriptor, at widths taken from the input.
  const size_t nameWidth = size > 0 ? data[0] : 0, helpWidth = size > 1 ? data[1] : 0;
  for (size_t f = 0; f < s.fieldCount(); ++f) {
    PayloadReader reply(payload);
    store.storeDescriptor(f, reply, nameWidth, helpWidth);
    if (reply.wanted() != nameWidth + helpWidth + 15) std::abort();
  }
  if (store.listFields().size() > ProdStore::kMaxListFields) std::abort();

  // And as a product.
  PayloadReader record(payload);
  store.storeRecord(0, record);
  if (record.wanted() > s.recordWireSize()) std::abort();
  for (size_t f = 0; f < s.textCount(); ++f)
    if (store.textField(0, f).size() > s.textLimit(f)) std::abort();
  (void)store.label(0);

  Collect out;
  try {
    store.writeRecord(0, out);
    if (s.clamped() || out.bytes.size() != 2 + s.recordWireSize()) std::abort();
  } catch (const RequestRefused&) {
    if (!s.clamped()) std::abort();
  }
  return 0;
}
