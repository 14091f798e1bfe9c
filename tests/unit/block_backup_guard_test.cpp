#include "config/block_backup_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

namespace {

// What reaches the guard: a reply of the main port with a payload of this
// many bytes, or (code 0) a block backup loaded from a file.
struct Event {
  int code;
  size_t bytes;
};
constexpr Event kLoaded{0, 0};

struct Case {
  const char* name;
  std::vector<Event> events;
  std::vector<BlockId> missing;  // in the order of the backup file
};

size_t bytesOf(BlockId id) { return blockLayout(id).bytes(); }
int readCode(BlockId id) { return blockLayout(id).readCode; }

std::vector<Case> cases() {
  using enum BlockId;
  const std::vector<BlockId> all(kBackupOrder.begin(), kBackupOrder.end());
  std::vector<Event> everyRead;
  for (BlockId id : kBackupOrder) everyRead.push_back({readCode(id), bytesOf(id)});
  return {
      {"nothing read", {}, all},
      {"one block read", {{readCode(Zero), bytesOf(Zero)}}, {Comm, ProdPar, Ad104, Sys, Sorter}},
      {"every block read", everyRead, {}},
      {"a short reply does not fill its block", {{readCode(Sys), bytesOf(Sys) - 1}}, all},
      {"a short reply after a whole one empties it again",
       {{readCode(Sys), bytesOf(Sys)}, {readCode(Sys), 4}},
       all},
      {"a longer reply fills it",
       {{readCode(Sorter), bytesOf(Sorter) + 8}},
       {Comm, Zero, ProdPar, Ad104, Sys}},
      {"write replies and other codes fill nothing",
       {{blockLayout(Comm).writeCode, bytesOf(Comm)}, {62, 200}, {51, 56}},
       all},
      {"a loaded backup fills all six", {kLoaded}, {}},
      {"a short read after a load", {kLoaded, {readCode(Ad104), 0}}, {Ad104}},
  };
}

struct BlockBackupGuardTest : LinkFixture, ::testing::WithParamInterface<Case> {
  BlockBackupGuard guard{device.channel};
};

Bytes payloadOf(size_t bytes) {
  Bytes out(bytes);
  for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(i + 1);
  return out;
}

}  // namespace

// The replies come through the main port as the device sends them.
TEST_P(BlockBackupGuardTest, FollowsReadsAndLoads) {
  connectMain();
  for (const Event& e : GetParam().events) {
    if (e.code == 0)
      guard.backupLoaded();
    else
      ask(e.code, payloadOf(e.bytes));
  }
  EXPECT_EQ(guard.missing(), GetParam().missing);
  for (BlockId id : kBackupOrder) {
    const bool missing = std::find(GetParam().missing.begin(), GetParam().missing.end(), id) !=
                         GetParam().missing.end();
    EXPECT_EQ(guard.filled(id), !missing) << blockLayout(id).block;
  }
  EXPECT_EQ(blockBackupRefusal(guard.missing()).has_value(), !GetParam().missing.empty());
}

INSTANTIATE_TEST_SUITE_P(Events, BlockBackupGuardTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           std::string name = param.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST(BlockBackupRefusal, NamesTheGetButtonsOfTheMissingBlocksAndWhy) {
  using enum BlockId;
  EXPECT_FALSE(blockBackupRefusal({}).has_value());
  const std::string one = blockBackupRefusal({Sys}).value();
  EXPECT_NE(one.find("read GetSys first"), std::string::npos) << one;
  EXPECT_NE(one.find("zeros"), std::string::npos) << one;
  const std::string three = blockBackupRefusal({Comm, Zero, Sorter}).value();
  EXPECT_NE(three.find("read GetComm, GetZero and GetSorter first"), std::string::npos) << three;
  EXPECT_EQ(three.find("GetSys"), std::string::npos) << three;
}
