#include "config/products.h"

#include <algorithm>
#include <optional>

#include "config/cell_value.h"
#include "link/text_format.h"

namespace vantor {

namespace {
constexpr size_t kCountRequest = 500;  // the product number that asks for the count
constexpr size_t kCountFormSize = 4;   // ParNum 5: the ACK and four bytes
constexpr size_t kMaxFieldRequest = 255;
}  // namespace

Products::Products(Shell& shell, CommandChannel& channel, bool& productsLoaded,
                   const bool& tablesLoaded, const ParTableStore& tables)
    : shell_(shell),
      channel_(channel),
      productsLoaded_(productsLoaded),
      tablesLoaded_(tablesLoaded),
      tables_(tables) {}

// ---- requests and replies

void Products::buildRequest(int code, RequestWriter& out) {
  if (code == 60) {
    out.put8(0);
    out.put8(static_cast<uint8_t>(store_.structure().wireField(fieldCursor_)));
  } else if (code == 50) {
    out.put16(static_cast<uint16_t>(readCursor_));
  } else if (code == 31) {
    const size_t n = writeAll_ ? writeCursor_ : static_cast<size_t>(selected_);
    try {
      store_.writeRecord(n, out);
    } catch (const RequestRefused& e) {
      writeAll_ = false;
      controls.progress.clear();
      controls.message = e.what();
      changed();
      throw;
    }
  }
}

void Products::handleReply(int code, PayloadReader& payload) {
  switch (code) {
    case 61:
      structureReply(payload);
      break;
    case 60:
      descriptorReply(payload);
      break;
    case 50:
      productReply(payload);
      break;
    case 31:
      productWritten();
      break;
    default:
      break;
  }
}

void Products::structureReply(PayloadReader& payload) {
  structureAwaited_ = false;
  store_.storeStructure(payload);
  const ProdStructure& s = store_.structure();
  controls.listBoxProdHint = s.title;
  controls.prodGrid.assign(s.fieldCount(), ParGridRow{});
  controls.current = true;
  controls.message = s.clamped()
                         ? format(
                               "The device announces %u products of %zu text and %u integer rows; "
                               "the tool holds %u of %zu and %u, and writes none",
                               s.wireCapacity, s.wireTextWidths.size(), s.wireIntCount, s.capacity,
                               s.textCount(), s.intCount)
                         : std::string();
  productsLoaded_ = true;
  controls.panelProdVisible = true;
  fieldCursor_ = 0;
  readingFields_ = true;
  requestDescriptor();
  changed();
}

// Fields the one-byte request cannot name keep an empty descriptor.
void Products::requestDescriptor() {
  const ProdStructure& s = store_.structure();
  while (fieldCursor_ < s.fieldCount() && s.wireField(fieldCursor_) > kMaxFieldRequest)
    ++fieldCursor_;
  if (fieldCursor_ >= s.fieldCount()) {
    readingFields_ = false;
    readCursor_ = kCountRequest;
    requestProduct();
    return;
  }
  controls.progress = format("Reading field %zu of %zu", fieldCursor_ + 1, s.fieldCount());
  channel_.queueCmd(60);
}

void Products::descriptorReply(PayloadReader& payload) {
  const size_t f = fieldCursor_;
  if (!readingFields_ || f >= store_.structure().fieldCount()) return;
  store_.storeDescriptor(f, payload, tables_.nameWidth(), tables_.helpWidth());
  if (f < controls.prodGrid.size()) controls.prodGrid[f].name = store_.descriptor(f).name;
  ++fieldCursor_;
  requestDescriptor();
  changed();
}

void Products::requestProduct() {
  productAwaited_ = true;
  if (readCursor_ == kCountRequest)
    controls.progress = "Reading the product count";
  else if (readAll_)
    controls.progress = format("Reading product %zu of %zu", readCursor_ + 1, store_.count());
  else
    controls.progress = format("Reading product %zu", readCursor_);
  channel_.queueCmd(50);
}

void Products::productReply(PayloadReader& payload) {
  productAwaited_ = false;
  if (payload.size() == kCountFormSize)
    countReply(payload);
  else
    recordReply(payload);
  changed();
}

void Products::countReply(PayloadReader& payload) {
  const size_t announced = payload.u16(0);
  store_.setCount(announced);
  if (announced > store_.count())
    controls.message = format("The device counts %zu products; the tool holds the first %zu",
                              announced, store_.count());
  controls.hedProg = format("Nº Prod: %zu", store_.count());
  controls.listBoxProd.clear();
  controls.listBoxProdIndex = -1;
  readCursor_ = 0;
  // No product to read: product 0 is not asked for, and not listed.
  readAll_ = store_.count() > 0;
  if (readAll_) {
    requestProduct();
  } else {
    controls.progress.clear();
    controls.prodGridHint.clear();
  }
}

void Products::recordReply(PayloadReader& payload) {
  const size_t n = readCursor_;
  if (n >= ProdStore::kMaxProducts) {
    // The count was asked for: a product is no answer to that.
    controls.progress = "Reading the product count stopped: a product came instead";
    readAll_ = false;
    return;
  }
  store_.storeRecord(n, payload);
  if (!readAll_) {
    controls.progress.clear();
    setListEntry(n);
    showProduct(static_cast<int>(n));
    return;
  }
  controls.listBoxProd.push_back(store_.label(n));
  ++readCursor_;
  if (readCursor_ < store_.count()) {
    requestProduct();
    return;
  }
  readAll_ = false;
  controls.progress.clear();
  controls.listBoxProdIndex = 0;
  selected_ = 0;
  showProduct(0);
}

void Products::productWritten() {
  if (!writeAll_) {
    controls.progress.clear();
    controls.message = format("Product %d written", selected_);
    if (!writeNote_.empty()) controls.message += "; " + writeNote_;
    changed();
    return;
  }
  const size_t last = std::min(store_.count(), ProdStore::kMaxProducts);
  ++writeCursor_;
  if (writeCursor_ < last) {
    controls.progress = format("Writing product %zu of %zu", writeCursor_ + 1, last);
    channel_.queueCmd(31);
  } else {
    writeAll_ = false;
    controls.progress.clear();
    controls.message = format("%zu products written", last);
  }
  changed();
}

// A request of a sweep ended without its reply: the sweep stops where it is
// and says so.
void Products::requestEnded(int code, RequestEnd end) {
  const char* why = requestEndText(end);
  if (code == 61) {
    controls.progress = format("Reading the product structure stopped: %s", why);
  } else if (code == 60) {
    controls.progress = format("Reading field %zu of %zu stopped: %s", fieldCursor_ + 1,
                               store_.structure().fieldCount(), why);
  } else if (code == 50) {
    if (readCursor_ == kCountRequest)
      controls.progress = format("Reading the product count stopped: %s", why);
    else if (readAll_)
      controls.progress =
          format("Reading product %zu of %zu stopped: %s", readCursor_ + 1, store_.count(), why);
    else
      controls.progress = format("Reading product %zu stopped: %s", readCursor_, why);
  } else if (code == 31) {
    controls.progress = format("Writing product %zu stopped: %s",
                               writeAll_ ? writeCursor_ : static_cast<size_t>(selected_), why);
  } else {
    return;
  }
  structureAwaited_ = readingFields_ = productAwaited_ = readAll_ = writeAll_ = false;
  changed();
}

// ---- user actions

// An action asked for while the main link is down cannot start: nothing would
// answer it, and its progress text would stand until the next connection.
bool Products::refusedWhileDisconnected() {
  if (channel_.linkUp()) return false;
  structureAwaited_ = readingFields_ = productAwaited_ = readAll_ = writeAll_ = false;
  controls.progress = "not connected";
  changed();
  return true;
}

void Products::GetHDProdClick() {
  if (refusedWhileDisconnected()) return;
  // The table list gives the descriptors' widths; it may be on its way already.
  if (!tablesLoaded_ && !channel_.queue().contains(62)) channel_.queueCmd(62);
  structureAwaited_ = true;
  readingFields_ = readAll_ = false;
  controls.progress = "Reading the product structure";
  channel_.queueCmd(61);
  changed();
}

// Products are read with the structure of this connection: without it the
// whole chain runs.
void Products::GetProgClick() {
  if (!productsLoaded_) {
    GetHDProdClick();
    return;
  }
  if (refusedWhileDisconnected()) return;
  readAll_ = false;
  readCursor_ = kCountRequest;
  requestProduct();
  changed();
}

void Products::GetSelProdClick() {
  const int index = controls.listBoxProdIndex;
  if (!productsLoaded_ || index < 0 || static_cast<size_t>(index) >= ProdStore::kMaxProducts)
    return;
  if (refusedWhileDisconnected()) return;
  readAll_ = false;
  readCursor_ = static_cast<size_t>(index);
  requestProduct();
  changed();
}

void Products::SetSelProdClick() {
  if (!productsLoaded_ || refusedWhileDisconnected()) return;
  const ProdStructure& s = store_.structure();
  std::vector<ParGridRow>& grid = controls.prodGrid;
  const size_t ic = std::min<size_t>(s.intCount, grid.size());
  // Every integer cell must be a number before anything is stored.
  std::vector<uint32_t> values(ic);
  for (size_t k = 0; k < ic; ++k) {
    const std::optional<uint32_t> v = parseCell32(grid[k].value);
    if (v) {
      values[k] = *v;
      continue;
    }
    controls.badRow = static_cast<int>(k);
    const CellConversionError error(grid[k].value);
    controls.message = format("Not written: %s: %s", grid[k].name.c_str(), error.what());
    changed();
    throw error;
  }
  // The number of the shown product.
  const size_t limit = store_.capacity();
  const int64_t number = ic > 0 ? static_cast<int32_t>(values[0]) : selected_;
  if (number < 0 || static_cast<size_t>(number) >= limit) {
    controls.badRow = 0;
    controls.message = format("Not written: product number %lld is outside 0 .. %lld",
                              static_cast<long long>(number), static_cast<long long>(limit) - 1);
    changed();
    return;
  }
  const size_t n = static_cast<size_t>(number);
  controls.badRow = -1;
  std::string reverted;
  size_t revertedCount = 0;
  for (size_t k = 1; k < ic; ++k) {
    const ProdFieldDescriptor& d = store_.descriptor(k);
    if (d.accepts(values[k])) {
      store_.setIntField(n, k, values[k]);
      continue;
    }
    // Out of limits: the cell shows the stored value again.
    if (revertedCount++ == 0) {
      controls.badRow = static_cast<int>(k);
      reverted = format("%s: %s is outside %d .. %d; kept %d", d.name.c_str(),
                        grid[k].value.c_str(), static_cast<int32_t>(d.min),
                        static_cast<int32_t>(d.max), static_cast<int32_t>(store_.intField(n, k)));
    }
    grid[k].value = cellText(store_.intField(n, k));
  }
  for (size_t f = 0; f < s.textCount() && s.intCount + f < grid.size(); ++f) {
    std::string& cell = grid[s.intCount + f].value;
    cell = store_.setTextField(n, f, cell);
  }
  controls.message = revertedCount > 1 ? format("%s (and %zu more cells kept)", reverted.c_str(),
                                                revertedCount - 1)
                                       : reverted;
  writeNote_ = controls.message;
  selected_ = static_cast<int>(n);
  writeAll_ = false;
  setListEntry(n);
  controls.progress = format("Writing product %zu", n);
  channel_.queueCmd(31);
  changed();
}

void Products::MkNewProdClick() {
  if (!productsLoaded_) return;
  const ProdStructure& s = store_.structure();
  const size_t p = store_.count();
  if (p >= store_.capacity()) {
    controls.message = format("No room for a new product: the device holds %zu", store_.capacity());
    changed();
    return;
  }
  for (size_t f = 0; f < s.textCount(); ++f)
    store_.setTextField(p, f, store_.descriptor(s.intCount + f).name);
  for (size_t k = 1; k <= s.intFieldCount(); ++k)
    store_.setIntField(p, k, store_.descriptor(k).def);
  controls.listBoxProd.push_back(s.textCount() > 1 ? store_.textField(p, 1) : std::string());
  controls.listBoxProdIndex = static_cast<int>(p);
  selected_ = static_cast<int>(p);
  showProduct(static_cast<int>(p));
  controls.message = format("Product %zu prepared; \"Set Sel Prod\" writes it", p);
  changed();
}

void Products::SetAutoClick() {
  if (!productsLoaded_ || refusedWhileDisconnected()) return;
  const size_t last = std::min(store_.count(), ProdStore::kMaxProducts);
  if (last == 0) {
    controls.message = "No products to write";
    changed();
    return;
  }
  writeCursor_ = 0;
  writeAll_ = true;
  controls.progress = format("Writing product 1 of %zu", last);
  channel_.queueCmd(31);
  changed();
}

void Products::ListBoxProdChange(int index) {
  controls.listBoxProdIndex = index;
  if (index >= 0 && static_cast<size_t>(index) < ProdStore::kMaxProducts) selected_ = index;
  showProduct(index);
  productChosen(index);
  changed();
}

void Products::ProdGridSelectCell(int row) {
  controls.gridRow = row;
  if (!productsLoaded_) return;
  showHelpAndRange(row);
  changed();
}

// ---- shared operations

void Products::showProduct(int n) {
  if (n < 0 || static_cast<size_t>(n) >= ProdStore::kMaxProducts) return;
  const size_t p = static_cast<size_t>(n);
  const ProdStructure& s = store_.structure();
  controls.prodGridHint = p < controls.listBoxProd.size() ? controls.listBoxProd[p] : "";
  controls.prodGrid.resize(s.fieldCount());
  for (size_t f = 0; f < s.fieldCount(); ++f) {
    std::string& value = controls.prodGrid[f].value;
    if (f == 0 && s.intCount > 0)
      value = format("%zu", p);
    else if (f < s.intCount)
      value = cellText(store_.intField(p, f));
    else
      value = store_.textField(p, f - s.intCount);
  }
  controls.badRow = -1;
  controls.gridRow =
      std::clamp(controls.gridRow, 0, std::max(0, static_cast<int>(s.fieldCount()) - 1));
  showHelpAndRange(controls.gridRow);
  changed();
}

void Products::showHelpAndRange(int row) {
  if (row < 0 || static_cast<size_t>(row) >= store_.structure().fieldCount()) {
    controls.helpParProd.clear();
    controls.rangeParProd.clear();
    return;
  }
  const ProdFieldDescriptor& d = store_.descriptor(static_cast<size_t>(row));
  controls.helpParProd = d.help;
  controls.rangeParProd = rangeText(d);
}

void Products::setListEntry(size_t n) {
  if (n < controls.listBoxProd.size()) controls.listBoxProd[n] = store_.label(n);
}

void Products::extendTo(size_t n) {
  const ProdStructure& s = store_.structure();
  const size_t target = std::min(n, ProdStore::kMaxProducts);
  while (store_.count() < target) {
    const size_t p = store_.count();
    controls.listBoxProd.push_back(s.textCount() > 1 ? store_.textField(p, 1) : std::string());
    store_.setCount(p + 1);
  }
  controls.hedProg = format("Nº Prod: %zu", store_.count());
  changed();
}

void Products::mainDisconnected() {
  controls.current = false;
  controls.message = kNotCurrentText;
  structureAwaited_ = readingFields_ = productAwaited_ = readAll_ = writeAll_ = false;
  controls.progress.clear();
  changed();
}

}  // namespace vantor
