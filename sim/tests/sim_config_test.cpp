// The simulated device's parameter tables, configuration blocks and module
// counters, read straight from the reply bytes.

#include <gtest/gtest.h>

#include <string>

#include "config_blocks.h"
#include "param_tables.h"
#include "sim_device.h"

namespace {

using rwsim::Bytes;
using rwsim::Frame;

// The payload after the ACK of a reply, and its ACK.
struct Reply {
  std::uint8_t ack = 0;
  Bytes payload;
};

Reply ask(rwsim::SimDevice& device, std::uint8_t code, Bytes params = {}) {
  const Bytes f = device.reply(Frame{1, code, std::move(params)});
  EXPECT_EQ(f.at(7), code);
  return Reply{f.at(8), Bytes(f.begin() + 9, f.end() - 3)};
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16) |
         static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::string text(const Bytes& b, std::size_t at, std::size_t width) {
  std::string s;
  for (std::size_t i = at; i < at + width && b.at(i) != 0; ++i) {
    s.push_back(static_cast<char>(b[i]));
  }
  return s;
}

TEST(SimParTables, ListNamesEveryTableWithItsCountLevelAndTheAccessCodes) {
  rwsim::SimDevice device([] { return 0; });
  const Reply list = ask(device, 62);
  ASSERT_EQ(list.ack, 0x06);
  const Bytes& p = list.payload;
  const std::size_t nameWidth = p.at(0), helpWidth = p.at(1), tables = p.at(2), c = p.at(3);
  EXPECT_EQ(nameWidth, 24u);
  EXPECT_EQ(helpWidth, 80u);
  EXPECT_EQ(tables, 7u);
  ASSERT_EQ(p.size(), 4 + 3 * c + 32 * tables);
  EXPECT_EQ(text(p, 4, c), "oper1");
  EXPECT_EQ(text(p, 4 + c, c), "manut22");
  EXPECT_EQ(text(p, 4 + 2 * c, c), "serv333");
  std::vector<int> counts, levels;
  for (std::size_t t = 0; t < tables; ++t) {
    counts.push_back(p.at(4 + 3 * c + 32 * t + 30));
    levels.push_back(p.at(4 + 3 * c + 32 * t + 31));
  }
  EXPECT_EQ(counts, (std::vector<int>{12, 8, 10, 6, 0, 5, 50}));
  EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 1, 0, 2, 3}));
  EXPECT_EQ(text(p, 4 + 3 * c + 32 * 4, 30), "Reserva");
}

TEST(SimParTables, DescriptorsCarryTheEdgesAndAMissingRowIsAllZero) {
  rwsim::SimDevice device([] { return 0; });
  const std::size_t u = 24 + 80;
  const Reply edge = ask(device, 64, {5, 0});
  ASSERT_EQ(edge.payload.size(), u + 19);
  EXPECT_EQ(text(edge.payload, 0, 24), "Contador");
  EXPECT_EQ(le32(edge.payload, u + 7), 0xFFFFFFFFu);   // max
  EXPECT_EQ(le32(edge.payload, u + 15), 0xFFFFFFFFu);  // value
  const Reply unit = ask(device, 64, {0, 6});
  EXPECT_EQ(text(unit.payload, u, 3), "ms");
  EXPECT_EQ(le32(unit.payload, u + 3), 0u);
  EXPECT_EQ(le32(unit.payload, u + 7), 5000u);

  for (const Bytes& missing : {Bytes{4, 0}, Bytes{0, 12}, Bytes{9, 0}}) {
    const Reply none = ask(device, 64, missing);
    EXPECT_EQ(none.ack, 0x06);
    EXPECT_EQ(none.payload, Bytes(u + 19, 0));
  }
  EXPECT_EQ(ask(device, 64, {0}).ack, rwsim::kNak);
}

TEST(SimParTables, AWrittenTableIsWhatTheNextReadShows) {
  rwsim::SimDevice device([] { return 0; });
  Bytes write{3};
  for (std::uint32_t v : {247u, 100u, 0u, 1u, 65535u, 0xFFFFFFFFu}) {
    for (int s = 0; s < 32; s += 8) {
      write.push_back(static_cast<std::uint8_t>(v >> s));
    }
  }
  EXPECT_EQ(ask(device, 63, write).ack, 0x06);
  EXPECT_EQ(le32(ask(device, 64, {3, 0}).payload, 104 + 15), 247u);
  EXPECT_EQ(le32(ask(device, 64, {3, 5}).payload, 104 + 15), 0xFFFFFFFFu);

  write.pop_back();  // one byte short
  EXPECT_EQ(ask(device, 63, write).ack, rwsim::kNak);
  EXPECT_EQ(ask(device, 63, {7}).ack, rwsim::kNak);
  EXPECT_EQ(ask(device, 63, {4}).ack, 0x06);  // the empty table takes no values
}

TEST(SimParTables, FullShapeHasTenTablesOfFiftyWithTheWidestTexts) {
  rwsim::SimDevice device([] { return 0; });
  device.parTables() = rwsim::SimParTables::full();
  const Bytes list = ask(device, 62).payload;
  EXPECT_EQ(list.at(0), 30);
  EXPECT_EQ(list.at(1), 200);
  EXPECT_EQ(list.at(2), 10);
  for (std::size_t t = 0; t < 10; ++t) {
    EXPECT_EQ(list.at(4 + 30 + 32 * t + 30), 50);
  }
  const Bytes last = ask(device, 64, {9, 49}).payload;
  ASSERT_EQ(last.size(), 249u);
  EXPECT_EQ(text(last, 0, 30), "Parametro 9.49");
  EXPECT_EQ(le32(last, 230 + 15), 9049u);
}

TEST(SimConfigBlocks, EachBlockReadsAtItsSizeAndEchoesAWrite) {
  rwsim::SimDevice device([] { return 0; });
  struct Case {
    std::uint8_t read, write;
    std::size_t bytes;
  } cases[] = {{52, 11, 120}, {16, 15, 40}, {36, 37, 32}, {22, 23, 48}, {24, 25, 72}, {45, 46, 28}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.read));
    const Reply before = ask(device, c.read);
    ASSERT_EQ(before.payload.size(), c.bytes);
    Bytes changed(c.bytes);
    for (std::size_t i = 0; i < c.bytes; ++i) {
      changed[i] = static_cast<std::uint8_t>(i * 7 + c.write);
    }
    EXPECT_EQ(ask(device, c.write, Bytes(c.bytes - 4, 0)).ack, rwsim::kNak);
    EXPECT_EQ(ask(device, c.read).payload, before.payload);
    const Reply written = ask(device, c.write, changed);
    EXPECT_EQ(written.ack, 0x06);
    EXPECT_TRUE(written.payload.empty());
    EXPECT_EQ(ask(device, c.read).payload, changed);
  }
}

TEST(SimConfigBlocks, EdgeValuesAndCountersAreThere) {
  std::uint64_t now = 123456;
  rwsim::SimDevice device([&] { return now; });
  EXPECT_EQ(le32(ask(device, 16).payload, 36), 0xFFFFFFFFu);  // module offset
  const Bytes zero = ask(device, 36).payload;
  EXPECT_EQ(le32(zero, 24), 0xA5A50001u);
  EXPECT_EQ(le32(zero, 28), 0x5A5A0002u);
  const Bytes counters = ask(device, 34).payload;
  ASSERT_EQ(counters.size(), 12u);
  EXPECT_EQ(counters.at(0) | counters.at(1) << 8, 1234);
  EXPECT_EQ(counters.at(6) | counters.at(7) << 8, 2);
}

}  // namespace
