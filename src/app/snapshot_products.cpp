#include "app/snapshot_products.h"

#include "config/prod_table_file.h"
#include "config/text_lines.h"
#include "link/text_format.h"

namespace vantor {

namespace {
bool productCode(int code) {
  return code == 62 || code == 61 || code == 60 || code == 50 || code == 31;
}

// The cells of one line: each ends at a ";", text after the last one is not a cell.
std::vector<std::string_view> semicolonCells(std::string_view line) {
  std::vector<std::string_view> cells;
  for (size_t end = line.find(';'); end != std::string_view::npos; end = line.find(';')) {
    cells.push_back(line.substr(0, end));
    line.remove_prefix(end + 1);
  }
  return cells;
}
}  // namespace

FileLimit ProductsSnapshotPart::fileLimit() const { return kProdTableFileLimit; }

void ProductsSnapshotPart::startRead() { device_.products.GetHDProdClick(); }

bool ProductsSnapshotPart::sweepEnded(int code) const {
  const Products& products = device_.products;
  return productCode(code) && products.productsLoaded() && !products.busy();
}

bool ProductsSnapshotPart::readComplete(int code) {
  if (!sweepEnded(code)) return false;
  deviceRead(asBytes(prodTableFileText(device_.products.store())));
  return true;
}

bool ProductsSnapshotPart::saveFile(const std::string& path, std::string& error) {
  ProdFileGroup& file = device_.prodFile;
  if (file.ExpProdClick(path)) return true;
  error = file.controls.memo9.back();
  return false;
}

bool ProductsSnapshotPart::takeFile(const std::string& path, ByteView bytes, std::string& error) {
  ProdFileGroup& file = device_.prodFile;
  const size_t before = file.controls.memo9.size();
  const ProdFileRead read = file.InpProdBytes(bytes);
  if (!read.read) {
    error = path + ": " + file.controls.memo9.back();
    return false;
  }
  if (read.problems > 0) {
    error =
        format("%s: %zu line%s would not load as %s; the first: %s", path.c_str(), read.problems,
               read.problems == 1 ? "" : "s", read.problems == 1 ? "it stands" : "they stand",
               file.controls.memo9[before].c_str());
    return false;
  }
  fileTaken(bytes);
  return true;
}

// Line 0 numbers the products; every other line is a field: its name, then
// one cell per product. Each value is named "product N, FIELD".
std::optional<NamedCells> ProductsSnapshotPart::fileCells(ByteView bytes,
                                                          std::string& error) const {
  if (bytes.empty()) {
    error = "not a product file: it is empty";
    return std::nullopt;
  }
  const std::vector<std::string_view> lines = splitTextLines(asText(bytes), kAllLines);
  NamedCells cells;
  for (size_t k = 1; k < lines.size(); ++k) {
    const std::vector<std::string_view> line = semicolonCells(lines[k]);
    for (size_t c = 1; c < line.size(); ++c)
      cells.push_back(
          {format("product %zu, %.*s", c - 1, static_cast<int>(line[0].size()), line[0].data()),
           cellValue(line[c])});
  }
  return cells;
}

void ProductsSnapshotPart::startWrite() {
  // With no product there is nothing to write, and no reply would end the writing.
  writing_ = device_.products.store().count() > 0;
  if (writing_)
    device_.products.SetAutoClick();
  else
    device_.products.GetProgClick();
}

bool ProductsSnapshotPart::writeComplete(int code) {
  if (!writing_) return readComplete(code);
  if (!sweepEnded(code)) return false;
  writing_ = false;
  device_.products.GetProgClick();
  return false;
}

}  // namespace vantor
