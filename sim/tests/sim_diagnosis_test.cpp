// The simulator's diagnosis memory and kill port reader, without sockets.
#include <gtest/gtest.h>

#include <algorithm>

#include "diagnosis_memory.h"
#include "kill_port.h"
#include "le_bytes.h"

namespace {

using rwsim::Bytes;
using rwsim::Frame;

Frame request(std::uint8_t command, Bytes params) {
  Frame f;
  f.command = command;
  f.params = std::move(params);
  return f;
}

Bytes le32(std::uint32_t v) {
  Bytes b;
  rwsim::appendLe32(b, v);
  return b;
}

}  // namespace

TEST(SimDiagnosis, LogAreaHoldsTheCountAndADayThatStartsWithAReset) {
  for (const std::uint32_t events : {0u, 1u, 5000u, 100000u, 200000u}) {
    const Bytes area = rwsim::makeLogArea(events);
    ASSERT_EQ(area.size(), rwsim::kLogAreaBytes);
    const std::uint32_t stored = rwsim::readLe32(area, 4) - rwsim::kLogBase - 12;
    EXPECT_EQ(stored, std::min(events, rwsim::kLogMaxEvents));
    if (events == 0) continue;
    EXPECT_EQ(area[12], 0);  // a reset first, then the date
    EXPECT_EQ(area[13], events > 1 ? 1 : 0);
  }
  // Times after a reset only grow until the next reset.
  const Bytes area = rwsim::makeLogArea(5000);
  std::uint32_t last = 0;
  for (std::size_t i = 2; i < 5000; ++i) {
    const std::uint8_t id = area[12 + i];
    const std::uint32_t t = rwsim::readLe32(area, 100012 + 4 * i);
    if (id == 0) {
      last = 0;
      continue;
    }
    if (id == 1) continue;
    EXPECT_GE(t, last) << i;
    last = t;
  }
}

TEST(SimDiagnosis, LogBlocksAreServedFromTheBaseAndZeroOutside) {
  rwsim::SimDiagnosisMemory memory(10);
  const rwsim::Answer base = memory.logBase();
  ASSERT_EQ(base.payload.size(), 8u);
  EXPECT_EQ(rwsim::readLe32(base.payload, 0), rwsim::kLogBase);
  const rwsim::Answer first = memory.logBlock(request(21, le32(rwsim::kLogBase)));
  ASSERT_EQ(first.payload.size(), 1000u);
  EXPECT_EQ(rwsim::readLe32(first.payload, 4), rwsim::kLogBase + 22);
  const rwsim::Answer outside = memory.logBlock(request(21, le32(0)));
  EXPECT_EQ(outside.payload, Bytes(1000, 0));
}

TEST(SimDiagnosis, RamAndEepromKeepWhatIsWritten) {
  rwsim::SimDiagnosisMemory memory(0);
  Bytes write = le32(0x80000004);
  const Bytes value = le32(0xFFFFFFFF);
  write.insert(write.end(), value.begin(), value.end());
  EXPECT_EQ(memory.writeRam(request(10, write)).ack, rwsim::kAck);
  EXPECT_EQ(memory.readRam(request(12, le32(0x80000004))).payload, value);
  EXPECT_EQ(memory.readRam(request(12, le32(4))).payload, le32(0));

  Bytes page = le32(0x100);
  page.push_back(3);
  page.insert(page.end(), {1, 2, 3});
  EXPECT_EQ(memory.writeEeprom(request(18, page)).payload, Bytes{0});
  Bytes read = le32(0x100);
  read.push_back(3);
  EXPECT_EQ(memory.readEeprom(request(17, read)).payload, (Bytes{0, 1, 2, 3}));
  Bytes past = le32(rwsim::kEepromBytes - 1);
  past.push_back(2);
  EXPECT_EQ(memory.readEeprom(request(17, past)).payload.at(0), 1);
  past.insert(past.end(), {9, 9});
  EXPECT_EQ(memory.writeEeprom(request(18, past)).payload, Bytes{1});
  EXPECT_EQ(memory.barcodes().payload.size(), 640u);
}

TEST(SimDiagnosis, KillReaderTakesRequestsWithTheirCheckByteOnly) {
  rwsim::KillRequestReader reader;
  EXPECT_EQ(reader.feed(Bytes{0x55, 0x01, 0x56}), std::vector<std::uint8_t>{1});
  // Split, after garbage and a bad check byte.
  EXPECT_TRUE(reader.feed(Bytes{0x00, 0x55, 0x02}).empty());
  EXPECT_EQ(reader.feed(Bytes{0x57, 0x55, 0x00, 0x54, 0x55, 0x00, 0x55}),
            (std::vector<std::uint8_t>{2, 0}));
  EXPECT_GE(reader.rejected(), 2u);
  EXPECT_EQ(reader.feed(Bytes{0x55, 0xFF, 0x54}), std::vector<std::uint8_t>{0xFF});
  EXPECT_EQ(rwsim::killedPort(0), 47000);
  EXPECT_EQ(rwsim::killedPort(1), 46000);
  EXPECT_EQ(rwsim::killedPort(2), 49000);
  EXPECT_EQ(rwsim::killedPort(0xFF), 0);
}
