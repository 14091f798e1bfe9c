// The simulated device's product store, read straight from the reply bytes.

#include <gtest/gtest.h>

#include <string>

#include "products.h"
#include "sim_device.h"

namespace {

using rwsim::Bytes;
using rwsim::Frame;

struct Reply {
  std::uint8_t ack = 0;
  Bytes payload;
};

Reply ask(rwsim::SimDevice& device, std::uint8_t code, Bytes params = {}) {
  const Bytes f = device.reply(Frame{1, code, std::move(params)});
  EXPECT_EQ(f.at(7), code);
  return Reply{f.at(8), Bytes(f.begin() + 9, f.end() - 3)};
}

std::string text(const Bytes& b, std::size_t at, std::size_t width) {
  std::string s;
  for (std::size_t i = at; i < at + width && b.at(i) != 0; ++i)
    s.push_back(static_cast<char>(b[i]));
  return s;
}

std::int32_t le32(const Bytes& b, std::size_t at) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16) |
      static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}

Bytes number(std::size_t n) {
  return {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8)};
}

constexpr std::size_t kRecord = 21 + 41 + 13 + 7 * 4;

TEST(SimProducts, StructureHasThreeTextsAndEightIntegerRows) {
  rwsim::SimDevice device([] { return 0; });
  const Reply r = ask(device, 61);
  ASSERT_EQ(r.ack, 0x06);
  ASSERT_EQ(r.payload.size(), 38u);
  EXPECT_EQ(text(r.payload, 0, 30), "Produtos da linha 1");
  EXPECT_EQ(r.payload[31] | r.payload[32] << 8, 500);
  EXPECT_EQ(r.payload[33], 3);
  EXPECT_EQ(Bytes(r.payload.begin() + 34, r.payload.begin() + 37), (Bytes{21, 41, 13}));
  EXPECT_EQ(r.payload[37], 8);
}

TEST(SimProducts, DescriptorsTakeTheTablesWidths) {
  rwsim::SimDevice device([] { return 0; });
  const Reply weight = ask(device, 60, {0, 1});
  ASSERT_EQ(weight.payload.size(), 24u + 80 + 3 + 12);
  EXPECT_EQ(text(weight.payload, 0, 24), "PesoNom");
  EXPECT_EQ(text(weight.payload, 104, 3), "*g");
  EXPECT_EQ(le32(weight.payload, 107), 1);
  EXPECT_EQ(le32(weight.payload, 111), 60000);
  EXPECT_EQ(le32(weight.payload, 115), 500);
  EXPECT_EQ(text(ask(device, 60, {0, 8}).payload, 104, 3), "*");
  EXPECT_EQ(ask(device, 60, {0, 11}).payload, Bytes(119, 0));  // no such field
}

TEST(SimProducts, CountAndRecordsAreToldApartBySize) {
  rwsim::SimDevice device([] { return 0; });
  EXPECT_EQ(ask(device, 50, number(500)).payload, (Bytes{25, 0, 0, 0}));
  const Reply first = ask(device, 50, number(0));
  ASSERT_EQ(first.payload.size(), kRecord);
  EXPECT_EQ(text(first.payload, 0, 21), "Arroz-0000");
  EXPECT_EQ(le32(first.payload, 75), 250);
  EXPECT_EQ(ask(device, 50, number(30)).payload, Bytes(kRecord, 0));  // not in use
  EXPECT_EQ(ask(device, 50, number(501)).ack, 0x15);                  // past the capacity
  device.products() = rwsim::SimProducts::standard(500);
  EXPECT_EQ(ask(device, 50, number(500)).payload, (Bytes{0xF4, 0x01, 0, 0}));
}

TEST(SimProducts, AWrittenProductReadsBack) {
  rwsim::SimDevice device([] { return 0; });
  Bytes write = number(25);  // just past the last: a new product
  for (const auto& [t, w] :
       {std::pair<std::string, std::size_t>{"NOVO", 21}, {"Novo produto", 41}, {"L1", 13}})
    for (std::size_t i = 0; i < w; ++i) write.push_back(i < t.size() ? t[i] : 0);
  for (std::uint8_t v = 1; v <= 7; ++v) write.insert(write.end(), {v, 0, 0, 0});
  EXPECT_EQ(ask(device, 31, write).ack, 0x06);
  EXPECT_EQ(ask(device, 50, number(500)).payload.at(0), 26);
  const Reply back = ask(device, 50, number(25));
  EXPECT_EQ(Bytes(back.payload.begin(), back.payload.end()), Bytes(write.begin() + 2, write.end()));
  write.pop_back();
  EXPECT_EQ(ask(device, 31, write).ack, 0x15);  // one byte short
  write.push_back(0);
  write[0] = 40;  // leaves a gap
  EXPECT_EQ(ask(device, 31, write).ack, 0x15);
}

}  // namespace
