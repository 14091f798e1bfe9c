#pragma once
// ProdStore: the device's products and the structure that describes them,
// with the wire codecs of the structure (reply 61), one field descriptor
// (reply 60), one product (reply 50, record form) and the write of one
// product (request 31). It holds data only; the sweeps that fill it and the
// page that shows it are Products, its file is ProdTableFile.
//
// Field numbering, for descriptors and grid rows alike: field 0 is the
// product number, fields 1 .. IC-1 the integer fields, fields IC .. IC+TF-1
// the text fields 0 .. TF-1.
//
// The store holds 500 products of at most 50 text fields (150-byte slots) and
// 50 integer rows. A device that announces more is clamped to these limits:
// nothing past them is stored, the wire layout is still read at the announced
// sizes so every stored value comes from its right place, and writing a
// product is refused, since the fields the store does not hold would be lost.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/par_descriptor.h"
#include "link/bytes.h"
#include "link/tx_frame.h"

namespace vantor {

// A product field's descriptor shares the parameters' layout; its value slot
// is not used.
using ProdFieldDescriptor = ParDescriptor;

struct ProdStructure {
  static constexpr size_t kTitleWire = 30;
  static constexpr size_t kMaxCapacity = 500;
  static constexpr size_t kMaxTextFields = 50;
  static constexpr size_t kMaxIntFields = 50;  // IC: the number and 49 integer fields
  static constexpr size_t kMaxTextWidth = 150;

  std::string title;                // the hint of ListBoxProd
  uint16_t capacity = 0;            // ProdCapacity, at most 500
  std::vector<uint8_t> textWidths;  // TW, each at most 150; TF = its size, at most 50
  uint8_t intCount = 0;             // IC, at most 50

  // As announced: the layout of a product on the wire.
  std::vector<uint8_t> wireTextWidths;
  uint8_t wireIntCount = 0;
  uint16_t wireCapacity = 0;

  size_t textCount() const { return textWidths.size(); }
  size_t fieldCount() const { return intCount + textWidths.size(); }
  // Integer fields of a product (IC - 1; none when IC is 0).
  size_t intFieldCount() const { return intCount > 0 ? intCount - 1u : 0u; }
  // Characters text field f holds: its width less the terminating zero.
  size_t textLimit(size_t f) const;
  // Something announced did not fit the store.
  bool clamped() const;
  // The device's number of stored field f (it differs from f for text fields
  // when IC was clamped).
  size_t wireField(size_t f) const;
  // Bytes of one product on the wire: sum of TW, then 4 per integer field.
  size_t recordWireSize() const;
};

// Reply 61, clamped to the store's limits.
ProdStructure decodeProdStructure(PayloadReader& payload);

struct ProdRecord {
  std::array<std::string, ProdStructure::kMaxTextFields> texts;
  std::array<uint32_t, ProdStructure::kMaxIntFields - 1> ints{};  // field k in ints[k - 1]
  bool operator==(const ProdRecord&) const = default;
};

class ProdStore {
 public:
  static constexpr size_t kMaxProducts = 500;
  static constexpr size_t kMaxListFields = 5;
  static constexpr size_t kMaxFields = ProdStructure::kMaxIntFields + ProdStructure::kMaxTextFields;

  ProdStore();

  // Reply 61: the new structure; descriptors and list fields start empty.
  // The products stay as they were.
  void storeStructure(PayloadReader& payload);
  // Reply 60 for field f (ignored past the structure's fields); a unit that
  // begins with "*" puts the field on the list while it holds fewer than 5.
  void storeDescriptor(size_t f, PayloadReader& payload, size_t nameWidth, size_t helpWidth);
  // Reply 50, record form, for product n (ignored for n >= 500).
  void storeRecord(size_t n, PayloadReader& payload);
  // Request 31: the number, then the texts (each zero-terminated in its TW
  // bytes) and the integer fields. Raises RequestRefused when the structure
  // was clamped or n lies outside the store.
  void writeRecord(size_t n, RequestWriter& out) const;

  // The entry of product n in ListBoxProd: each listed field followed by
  // "; " (integer fields in signed decimal, field 0 the product number), or
  // text field 0 when no field is listed.
  std::string label(size_t n) const;

  const ProdStructure& structure() const { return structure_; }
  const ProdFieldDescriptor& descriptor(size_t f) const { return descriptors_.at(f); }
  const std::vector<size_t>& listFields() const { return listFields_; }

  // ProdCount; setting it keeps it within the store (at most 500).
  size_t count() const { return count_; }
  void setCount(size_t n);
  // Products the device can hold as far as the store goes: min(ProdCapacity, 500).
  size_t capacity() const { return structure_.capacity; }

  const ProdRecord& record(size_t n) const { return records_.at(n); }
  ProdRecord& record(size_t n) { return records_.at(n); }
  // Integer field k (1 .. IC-1) and text field f of product n.
  uint32_t intField(size_t n, size_t k) const { return records_.at(n).ints.at(k - 1); }
  void setIntField(size_t n, size_t k, uint32_t v) { records_.at(n).ints.at(k - 1) = v; }
  const std::string& textField(size_t n, size_t f) const { return records_.at(n).texts.at(f); }
  // Stores the text cut to what the field holds; returns the stored text.
  const std::string& setTextField(size_t n, size_t f, const std::string& text);

 private:
  ProdStructure structure_;
  std::array<ProdFieldDescriptor, kMaxFields> descriptors_{};
  std::vector<size_t> listFields_;
  std::vector<ProdRecord> records_;
  size_t count_ = 0;
};

}  // namespace vantor
