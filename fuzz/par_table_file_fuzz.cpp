// The parameter table file reader fed any bytes: whole, byte by byte and in
// slices chosen by the input. Every way must give the same messages and load
// the same values, and no loaded value may lie outside its limits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/par_table_file.h"
#include "sliced_text.h"

using namespace vantor;

namespace {

// Two tables as a device lists them: "A" with x (0..100) and y (5..5), "B" empty.
ParTableStore deviceStore() {
  Bytes list = {30, 200, 2, 10};
  list.resize(4 + 30, 0);
  const auto entry = [&](const char* name, uint8_t count) {
    const size_t at = list.size();
    list.resize(at + 32, 0);
    for (size_t i = 0; name[i]; ++i) list[at + i] = static_cast<uint8_t>(name[i]);
    list[at + 30] = count;
  };
  entry("A", 2);
  entry("B", 0);
  ParTableStore store;
  PayloadReader reader(list);
  store.storeTableList(reader);
  ParTable& a = store.table(0);
  a.params[0].name = "x";
  a.params[0].max = 100;
  a.params[1].name = "y";
  a.params[1].min = a.params[1].max = a.params[1].value = 5;
  return store;
}

struct Outcome {
  std::vector<std::string> messages;
  std::vector<uint32_t> values;
  bool accepted = false;
  bool operator==(const Outcome&) const = default;
};

Outcome run(std::string_view file, size_t sliceSeed) {
  ParTableStore store = deviceStore();
  ParTableFileReader reader("id", store);
  fuzz::feedText(file, sliceSeed, reader);
  reader.finish();
  Outcome o{reader.messages(), {}, reader.accepted()};
  for (size_t t = 0; t < store.tableCount(); ++t)
    for (size_t r = 0; r < store.table(t).paramCount; ++r) {
      const ParDescriptor& d = store.table(t).params[r];
      if (!d.accepts(d.value)) std::abort();
      o.values.push_back(d.value);
    }
  for (const std::string& m : o.messages)
    if (m.size() > ParTableFileReader::kMaxLine + 40) std::abort();
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::sameInEverySlicing(std::string_view(reinterpret_cast<const char*>(data), size), run);
  return 0;
}
