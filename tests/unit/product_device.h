#pragma once
// A device's product store written out by hand for the tests: it answers
// commands 62 (widths only, no tables), 64, 61, 60, 50 and 31 as the device
// does, with its own byte layout, so the core's decoders are checked against
// bytes they did not produce.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"

namespace vantor::test {

struct FakeField {
  std::string name, help, unit;
  uint32_t min = 0, max = 100, def = 0;
};

struct FakeProduct {
  std::vector<std::string> texts;
  std::vector<uint32_t> ints;  // integer fields 1 .. IC-1
};

class ProductDevice {
 public:
  uint8_t nameWidth = 30, helpWidth = 200;
  std::string title = "Produtos da linha";
  uint16_t capacity = 500;
  std::vector<uint8_t> widths = {21, 41};
  uint8_t intCount = 4;
  std::vector<FakeField> fields;  // IC + TF of them, in field order
  std::vector<FakeProduct> products;
  int announcedCount = -1;  // -1: products.size()

  // The layout used throughout: TF = 2 (widths 21, 41), IC = 4, the weight and
  // the code marked for the list, three products.
  ProductDevice();

  Bytes structure() const;
  Bytes descriptor(size_t f) const;
  Bytes record(size_t n) const;
  Bytes count() const;

  // Answers every request written to the socket, and those the answers chain,
  // up to `limit` answers (then the device falls silent). Records each
  // request as {code, parameter bytes}.
  void serve(FakeSocket& lan2, size_t limit = SIZE_MAX);
  std::vector<std::pair<int, Bytes>> requests;
  // Requests of one code, in order; for 50, 31 and 60 the number they carry.
  std::vector<int> numbers(int code) const;
  // The product codes of the requests served (62, 61, 60, 50, 31), in order.
  std::vector<int> productCodes() const;
};

}  // namespace vantor::test
