#include "config/prod_file_group.h"

#include "config/file_bytes.h"
#include "config/prod_table_file.h"
#include "link/text_format.h"

namespace vantor {

ProdFileGroup::ProdFileGroup(Shell& shell, Products& products)
    : shell_(shell), products_(products) {}

void ProdFileGroup::note(std::string line) {
  controls.memo9.push_back(std::move(line));
  shell_.changed(Area::Products);
}

bool ProdFileGroup::ExpProdClick(const std::string& path) {
  const ProdStore& store = products_.store();
  const std::vector<std::string> warnings = prodTableFileWarnings(store);
  const size_t kept = std::min(warnings.size(), ProdTableFileReader::kMaxMessages);
  for (size_t i = 0; i < kept; ++i) controls.memo9.push_back(warnings[i]);
  if (warnings.size() > kept)
    controls.memo9.push_back(format("... and %zu more", warnings.size() - kept));
  std::string error;
  const bool written = writeFileText(path, prodTableFileText(store), error);
  note(written ? format("%zu products written to %s", store.count(), path.c_str()) : error);
  return written;
}

// Without a structure from the device no line of a file has a field to go to.
bool ProdFileGroup::refusedWithoutStructure() {
  if (products_.store().structure().fieldCount() > 0) return false;
  note("No product structure: \"Get All Struct\" reads it from the device first");
  return true;
}

ProdFileRead ProdFileGroup::InpProdClick(const std::string& path) {
  if (refusedWithoutStructure()) return {};
  ProdTableFileReader reader(products_.store());
  std::string error;
  const bool read = readFileChunks(
      path,
      [&](ByteView chunk) {
        reader.feed(asText(chunk));
        return true;
      },
      error, kProdTableFileLimit);
  return readDone(reader, read ? nullptr : &error);
}

ProdFileRead ProdFileGroup::InpProdBytes(ByteView bytes) {
  if (refusedWithoutStructure()) return {};
  ProdTableFileReader reader(products_.store());
  reader.feed(asText(bytes));
  return readDone(reader, nullptr);
}

ProdFileRead ProdFileGroup::readDone(ProdTableFileReader& reader, const std::string* readError) {
  if (readError) {
    note(*readError);
    return {};
  }
  reader.finish();
  for (const std::string& m : reader.messages()) controls.memo9.push_back(m);
  if (reader.messagesNotKept() > 0)
    controls.memo9.push_back(format("... and %zu more", reader.messagesNotKept()));
  ProdStore& store = products_.store();
  controls.memo9.push_back(
      format("Nº Prod Device: %zu Nº Prod File: %zu", store.count(), reader.productsInFile()));
  products_.extendTo(std::min(reader.productsInFile(), store.capacity()));
  products_.showProduct(products_.controls.listBoxProdIndex);
  shell_.changed(Area::Products);
  return {true, reader.problems()};
}

}  // namespace vantor
