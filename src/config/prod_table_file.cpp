#include "config/prod_table_file.h"

#include <optional>

#include "config/cell_value.h"
#include "link/text_format.h"

namespace vantor {

namespace {
constexpr const char* kLineEnd = "\r\n";
}  // namespace

std::string prodTableFileText(const ProdStore& store) {
  const ProdStructure& s = store.structure();
  const size_t count = store.count();
  std::string out;
  for (size_t f = 0; f < s.fieldCount(); ++f) {
    out += store.descriptor(f).name + ";";
    for (size_t n = 0; n < count; ++n) {
      if (f == 0 && s.intCount > 0)
        out += format("%zu;", n);
      else if (f < s.intCount)
        out += format("%d;", static_cast<int32_t>(store.intField(n, f)));
      else
        out += store.textField(n, f - s.intCount) + ";";
    }
    out += kLineEnd;
  }
  return out;
}

std::vector<std::string> prodTableFileWarnings(const ProdStore& store) {
  const ProdStructure& s = store.structure();
  std::vector<std::string> out;
  for (size_t n = 0; n < store.count(); ++n) {
    for (size_t f = 0; f < s.textCount(); ++f) {
      const std::string& text = store.textField(n, f);
      const char* what = text.find(';') != std::string::npos               ? "\";\""
                         : text.find_first_of("\r\n") != std::string::npos ? "a line end"
                                                                           : nullptr;
      if (what)
        out.push_back(format("Product %zu, %s: the text holds %s and does not read back as it is",
                             n, store.descriptor(s.intCount + f).name.c_str(), what));
    }
  }
  return out;
}

ProdTableFileReader::ProdTableFileReader(ProdStore& store)
    : store_(store), limit_(store.capacity()) {}

void ProdTableFileReader::message(std::string text) {
  if (messages_.size() < kMaxMessages)
    messages_.push_back(std::move(text));
  else
    ++notKept_;
}

void ProdTableFileReader::put(char c) {
  if (cell_.size() < kMaxCell)
    cell_.push_back(c);
  else
    cellCut_ = true;
}

void ProdTableFileReader::feed(std::string_view bytes) {
  for (char c : bytes) {
    if (c == '\n') {
      pendingCr_ = false;  // CR LF is one line end
      endLine();
      continue;
    }
    if (pendingCr_) endCell();  // a CR not followed by LF ends a cell
    pendingCr_ = c == '\r';
    if (c == ';')
      endCell();
    else if (!pendingCr_)
      put(c);
  }
}

void ProdTableFileReader::finish() {
  pendingCr_ = false;  // a CR at the very end ends the line
  if (!cell_.empty() || column_ > 0) endLine();
  if (productsInFile_ > limit_)
    message(format("%zu product column%s past the %zu products the device holds %s ignored",
                   productsInFile_ - limit_, productsInFile_ - limit_ == 1 ? "" : "s", limit_,
                   productsInFile_ - limit_ == 1 ? "was" : "were"));
}

void ProdTableFileReader::endLine() {
  if (!cell_.empty())
    message(format("Line %zu: text after the last \";\" ignored: %s", line_ + 1, cell_.c_str()));
  cell_.clear();
  cellCut_ = false;
  ++line_;
  column_ = 0;
}

void ProdTableFileReader::endCell() {
  if (cellCut_ && !cutReported_) {
    cutReported_ = true;
    message(format("Cells longer than %zu characters were cut to %zu (the first in line %zu)",
                   kMaxCell, kMaxCell, line_ + 1));
  }
  if (column_ == 0)
    nameCell();
  else
    valueCell(column_ - 1);
  cell_.clear();
  cellCut_ = false;
  ++column_;
}

void ProdTableFileReader::nameCell() {
  const ProdStructure& s = store_.structure();
  lineKnown_ = line_ < s.fieldCount();
  if (!lineKnown_ || cell_ != store_.descriptor(line_).name)
    message(format("Not found->> %s", cell_.c_str()));
}

void ProdTableFileReader::valueCell(size_t product) {
  if (line_ == 0 && product + 1 > productsInFile_) productsInFile_ = product + 1;
  if (!lineKnown_ || product >= limit_) return;
  const ProdStructure& s = store_.structure();
  const std::string& name = store_.descriptor(line_).name;
  if (line_ == 0 && s.intCount > 0) return;  // the numbers themselves are not read
  if (line_ < s.intCount) {
    const size_t k = line_;
    const std::optional<uint32_t> v = parseCell32(cell_);
    const ProdFieldDescriptor& d = store_.descriptor(k);
    const int32_t kept = static_cast<int32_t>(store_.intField(product, k));
    if (!v)
      message(format("Line %zu, product %zu, %s: '%s' is not a number; kept %d", line_ + 1, product,
                     name.c_str(), cell_.c_str(), kept));
    else if (!d.accepts(*v))
      message(format("Line %zu, product %zu, %s: %s is outside %d .. %d; kept %d", line_ + 1,
                     product, name.c_str(), cell_.c_str(), static_cast<int32_t>(d.min),
                     static_cast<int32_t>(d.max), kept));
    else
      store_.setIntField(product, k, *v);
    return;
  }
  const size_t f = line_ - s.intCount;
  const std::string& stored = store_.setTextField(product, f, cell_);
  if (stored.size() < cell_.size())
    message(format("Line %zu, product %zu, %s: text cut to %zu characters", line_ + 1, product,
                   name.c_str(), stored.size()));
}

}  // namespace vantor
