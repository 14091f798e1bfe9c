// The product file reader fed any bytes: whole, byte by byte and in slices
// chosen by the input. Every way must give the same messages and load the same
// products; no loaded number may lie outside its field's limits and no text
// may be longer than its field holds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/prod_table_file.h"
#include "sliced_text.h"

using namespace vantor;

namespace {

void putText(Bytes& out, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i)
    out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

void putLe32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Four products of a device with two texts (widths 5 and 9), IC = 3: the
// number, w (1 .. 100) and t (0 .. 4294967295).
ProdStore deviceStore() {
  ProdStore store;
  Bytes structure;
  putText(structure, "T", 31);
  structure.insert(structure.end(), {6, 0, 2, 5, 9, 3});  // capacity 6
  PayloadReader s(structure);
  store.storeStructure(s);
  const struct {
    const char* name;
    uint32_t min, max;
  } fields[] = {{"n", 0, 5}, {"w", 1, 100}, {"t", 0, 0xFFFFFFFFu}, {"c", 0, 0}, {"d", 0, 0}};
  for (size_t f = 0; f < 5; ++f) {
    Bytes d;
    putText(d, fields[f].name, 4);
    putText(d, "", 4 + 3);
    putLe32(d, fields[f].min);
    putLe32(d, fields[f].max);
    putLe32(d, fields[f].min);
    PayloadReader r(d);
    store.storeDescriptor(f, r, 4, 4);
  }
  store.setCount(4);
  for (size_t n = 0; n < 6; ++n) {  // every product the device holds is within its limits
    store.setIntField(n, 1, 50);
    store.setIntField(n, 2, 7);
  }
  return store;
}

struct Outcome {
  std::vector<std::string> messages;
  std::vector<ProdRecord> records;
  size_t productsInFile = 0;
  bool operator==(const Outcome&) const = default;
};

Outcome run(std::string_view file, size_t sliceSeed) {
  ProdStore store = deviceStore();
  ProdTableFileReader reader(store);
  fuzz::feedText(file, sliceSeed, reader);
  reader.finish();
  Outcome o{reader.messages(), {}, reader.productsInFile()};
  const ProdStructure& s = store.structure();
  for (size_t n = 0; n < ProdStore::kMaxProducts; ++n) {
    if (n >= s.capacity && !(store.record(n) == ProdRecord{})) std::abort();
    if (n >= s.capacity) continue;
    for (size_t k = 1; k < s.intCount; ++k)
      if (!store.descriptor(k).accepts(store.intField(n, k))) std::abort();
    for (size_t f = 0; f < s.textCount(); ++f)
      if (store.textField(n, f).size() > s.textLimit(f)) std::abort();
    o.records.push_back(store.record(n));
  }
  if (reader.messages().size() > ProdTableFileReader::kMaxMessages) std::abort();
  for (const std::string& m : o.messages)
    if (m.size() > ProdTableFileReader::kMaxCell + 120) std::abort();
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::sameInEverySlicing(std::string_view(reinterpret_cast<const char*>(data), size), run);
  return 0;
}
