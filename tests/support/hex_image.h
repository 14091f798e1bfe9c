#pragma once
// Intel HEX images for tests and benchmarks: records with correct checksums,
// built the way a compiler's tool chain writes them.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vantor::test {

// One record, upper-case hex, without line end.
inline std::string hexRecord(uint8_t type, uint16_t address, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size()),
                                static_cast<uint8_t>(address >> 8),
                                static_cast<uint8_t>(address & 0xFF), type};
  bytes.insert(bytes.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
  bytes.push_back(static_cast<uint8_t>(0x100 - sum));
  std::string text = ":";
  char pair[3];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", b);
    text += pair;
  }
  return text;
}

// An image of `size` bytes in records of `perRecord` data bytes, with an
// extended linear address record at each 64 KiB, ended by the end-of-file
// record; every line ends in `lineEnd`.
inline std::string hexImage(size_t size, size_t perRecord = 16,
                            const std::string& lineEnd = "\r\n") {
  std::string text;
  for (size_t at = 0; at < size; at += perRecord) {
    if (at % 0x10000 == 0 && at > 0) {
      const auto high = static_cast<uint16_t>(at >> 16);
      text += hexRecord(0x04, 0, {static_cast<uint8_t>(high >> 8), static_cast<uint8_t>(high)});
      text += lineEnd;
    }
    std::vector<uint8_t> data;
    for (size_t i = at; i < at + perRecord && i < size; ++i)
      data.push_back(static_cast<uint8_t>(i * 7 + 3));
    text += hexRecord(0x00, static_cast<uint16_t>(at & 0xFFFF), data);
    text += lineEnd;
  }
  text += hexRecord(0x01, 0, {});
  text += lineEnd;
  return text;
}

}  // namespace vantor::test
