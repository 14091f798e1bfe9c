#pragma once
// A device's parameter tables written out by hand for the tests: it answers
// commands 62, 64 and 63 as the device does, with its own byte layout, so the
// core's decoders are checked against bytes they did not produce.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"

namespace vantor::test {

struct FakePar {
  std::string name, help, unit;
  uint32_t min = 0, max = 100, def = 0, value = 0;
};

struct FakeTable {
  std::string name;
  uint8_t level = 0;
  std::vector<FakePar> params;
  uint8_t announcedCount = 0xFF;  // 0xFF: params.size()
};

void putLe32(Bytes& out, uint32_t v);
void putText(Bytes& out, const std::string& text, size_t width);

class TableDevice {
 public:
  uint8_t nameWidth = 30, helpWidth = 200, codeWidth = 10;
  std::vector<std::string> codes = {"one", "two", "three"};
  std::vector<FakeTable> tables;
  uint8_t announcedTables = 0xFF;  // 0xFF: tables.size()

  Bytes tableList() const;
  Bytes descriptor(size_t t, size_t r) const;

  // Answers every request the fake main socket holds, and the requests those
  // answers chain, until nothing is left. Records each request as
  // {code, parameter bytes}.
  // Answers every request written to the socket, and those the answers chain, up
  // to `limit` answers (then the device falls silent).
  void serve(FakeSocket& lan2, size_t limit = SIZE_MAX);
  std::vector<std::pair<int, Bytes>> requests;
  // The (table, row) of every command 64 served, in order.
  std::vector<std::pair<int, int>> descriptorRequests() const;
  // The table index of every command 63 served, in order.
  std::vector<int> tableWrites() const;
  // The command code of every request served, in order.
  std::vector<int> requestCodes() const;
};

}  // namespace vantor::test
