#include "config/prod_store.h"

#include <algorithm>

#include "link/text_format.h"

namespace vantor {

// ---- structure

size_t ProdStructure::textLimit(size_t f) const {
  const size_t width = f < textWidths.size() ? textWidths[f] : 0;
  return width > 0 ? width - 1 : 0;
}

bool ProdStructure::clamped() const {
  return wireIntCount != intCount || wireTextWidths.size() != textWidths.size() ||
         wireCapacity != capacity ||
         !std::equal(textWidths.begin(), textWidths.end(), wireTextWidths.begin(),
                     wireTextWidths.end());
}

size_t ProdStructure::wireField(size_t f) const {
  return f < intCount ? f : wireIntCount + (f - intCount);
}

size_t ProdStructure::recordWireSize() const {
  size_t size = 0;
  for (uint8_t w : wireTextWidths) size += w;
  return size + 4 * (wireIntCount > 0 ? wireIntCount - 1u : 0u);
}

ProdStructure decodeProdStructure(PayloadReader& p) {
  ProdStructure s;
  s.title = fitSlot(p.text(0, ProdStructure::kTitleWire), ProdStructure::kTitleWire + 1);
  s.wireCapacity = p.u16(31);
  s.capacity = std::min<uint16_t>(s.wireCapacity, ProdStructure::kMaxCapacity);
  const size_t tf = p.u8(33);
  for (size_t f = 0; f < tf; ++f) {
    const uint8_t w = p.u8(34 + f);
    s.wireTextWidths.push_back(w);
    if (f < ProdStructure::kMaxTextFields)
      s.textWidths.push_back(std::min<uint8_t>(w, ProdStructure::kMaxTextWidth));
  }
  s.wireIntCount = p.u8(34 + tf);
  s.intCount = std::min<uint8_t>(s.wireIntCount, ProdStructure::kMaxIntFields);
  return s;
}

// ---- store

ProdStore::ProdStore() : records_(kMaxProducts) {}

void ProdStore::setCount(size_t n) { count_ = std::min(n, kMaxProducts); }

void ProdStore::storeStructure(PayloadReader& payload) {
  structure_ = decodeProdStructure(payload);
  descriptors_.fill(ProdFieldDescriptor{});
  listFields_.clear();
}

void ProdStore::storeDescriptor(size_t f, PayloadReader& payload, size_t nameWidth,
                                size_t helpWidth) {
  if (f >= structure_.fieldCount()) return;
  descriptors_[f] = decodeFieldDescriptor(payload, nameWidth, helpWidth);
  const bool listed = std::find(listFields_.begin(), listFields_.end(), f) != listFields_.end();
  if (descriptors_[f].unit.starts_with('*') && !listed && listFields_.size() < kMaxListFields)
    listFields_.insert(std::upper_bound(listFields_.begin(), listFields_.end(), f), f);
}

void ProdStore::storeRecord(size_t n, PayloadReader& p) {
  if (n >= kMaxProducts) return;
  ProdRecord& r = records_[n];
  const ProdStructure& s = structure_;
  size_t at = 0;
  for (size_t f = 0; f < s.wireTextWidths.size(); ++f) {
    const size_t width = s.wireTextWidths[f];
    if (f < s.textCount()) r.texts[f] = p.text(at, s.textLimit(f));
    at += width;
  }
  const size_t ints = s.wireIntCount > 0 ? s.wireIntCount - 1u : 0u;
  for (size_t k = 1; k <= ints; ++k, at += 4) {
    const uint32_t v = p.u32(at);
    if (k <= s.intFieldCount()) r.ints[k - 1] = v;
  }
}

void ProdStore::writeRecord(size_t n, RequestWriter& out) const {
  const ProdStructure& s = structure_;
  if (s.clamped())
    throw RequestRefused(
        "Command 31: the device's product structure is larger than the tool holds; "
        "writing a product would lose its other fields");
  if (n >= kMaxProducts) throw RequestRefused(format("Command 31: no product %zu", n));
  const ProdRecord& r = records_[n];
  out.put16(static_cast<uint16_t>(n));
  for (size_t f = 0; f < s.textCount(); ++f) {
    const std::string& text = r.texts[f];
    const size_t width = s.textWidths[f];
    const size_t chars = std::min(text.size(), s.textLimit(f));
    for (size_t i = 0; i < width; ++i)
      out.put8(i < chars ? static_cast<uint8_t>(text[i]) : uint8_t{0});
  }
  for (size_t k = 1; k <= s.intFieldCount(); ++k) out.put32(r.ints[k - 1]);
}

std::string ProdStore::label(size_t n) const {
  if (n >= kMaxProducts) return {};
  const ProdRecord& r = records_[n];
  const ProdStructure& s = structure_;
  if (listFields_.empty()) return s.textCount() > 0 ? r.texts[0] : std::string();
  std::string out;
  for (size_t k : listFields_) {
    if (k == 0)
      out += format("%zu; ", n);
    else if (k < s.intCount)
      out += format("%d; ", static_cast<int32_t>(r.ints[k - 1]));
    else
      out += r.texts[k - s.intCount] + "; ";
  }
  return out;
}

const std::string& ProdStore::setTextField(size_t n, size_t f, const std::string& text) {
  std::string& slot = records_.at(n).texts.at(f);
  slot = text.substr(0, structure_.textLimit(f));
  return slot;
}

}  // namespace vantor
