#include <gtest/gtest.h>

#include "config/block_backup_file.h"
#include "link_fixture.h"
#include "table_device.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

namespace {

using Texts = std::vector<std::string>;

// A block's bytes with value i = base + i, little-endian.
Bytes counting(size_t values, uint32_t base) {
  Bytes out;
  for (size_t i = 0; i < values; ++i) putLe32(out, base + static_cast<uint32_t>(i));
  return out;
}

struct ConfigBlocksTest : LinkFixture {
  TempDir dir;
  ConfigBlocks& blocks() { return device.configBlocks; }
  std::vector<std::string>& cells(BlockId id) {
    return device.configBlocks.controls.cells[index(id)];
  }
  ConfigBlocksTest() {
    connectMain();
    device.channel.clearQueue();
  }
  // Answers the next request with this payload and returns the request's parameters.
  Bytes answer(const Bytes& payload = {}) {
    const Bytes request = lan2().takeWrite();
    lan2().receive(replyFrame(request.at(7), payload));
    return Bytes(request.begin() + 8, request.end() - 3);
  }
};

}  // namespace

TEST_F(ConfigBlocksTest, EachGetButtonReadsItsBlockIntoItsGridAsUnsigned) {
  for (const BlockLayout& layout : blockLayouts()) {
    SCOPED_TRACE(layout.grid);
    blocks().GetClick(layout.id);
    device.channel.sendNextCmd();
    ASSERT_EQ(lan2().writes.size(), 1u);
    EXPECT_EQ(lan2().writes[0].at(7), layout.readCode);
    Bytes payload = counting(layout.values, 1000);
    payload[0] = payload[1] = payload[2] = payload[3] = 0xFF;
    EXPECT_TRUE(answer(payload).empty());
    ASSERT_EQ(cells(layout.id).size(), layout.rowNames.size());
    EXPECT_EQ(cells(layout.id).front(), "4294967295");
    EXPECT_EQ(cells(layout.id).back(), std::to_string(1000 + layout.rowNames.size() - 1));
    EXPECT_EQ(blocks().values(layout.id).back(), 1000 + layout.values - 1);
  }
  EXPECT_EQ(shell().errorBar[1], "");
}

TEST_F(ConfigBlocksTest, SetSendsTheGridAsItStandsAtSendTimeWithTheHiddenZeroValues) {
  blocks().GetClick(BlockId::Zero);
  device.channel.sendNextCmd();
  answer(counting(8, 0x01020300));
  blocks().SetClick(BlockId::Zero);
  cells(BlockId::Zero)[0] = "-1";  // typed after the click, before the request is built
  cells(BlockId::Zero)[5] = "4294967294";
  device.channel.sendNextCmd();
  EXPECT_EQ(answer(), hex("FF FF FF FF 01 03 02 01 02 03 02 01 03 03 02 01 04 03 02 01 FE FF FF FF "
                          "06 03 02 01 07 03 02 01"));
  EXPECT_EQ(blocks().values(BlockId::Zero)[0], 0xFFFFFFFFu);
}

TEST_F(ConfigBlocksTest, ACellThatIsNoNumberKeepsItsWriteUnsentAndTheQueueGoesOn) {
  blocks().GetClick(BlockId::Sorter);
  device.channel.sendNextCmd();
  answer(counting(7, 10));
  cells(BlockId::Sorter)[3] = "12,5";
  blocks().SetClick(BlockId::Sorter);
  device.channel.queueCmd(82);
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
  const std::string said =
      "SetSorter not sent: SorterPar row 3 (AcionamentoAux2): '12,5' is not a valid integer value";
  EXPECT_EQ(blocks().controls.message, said);
  EXPECT_EQ(shell().errorBar[1], said);
  EXPECT_EQ(blocks().controls.badBlock, BlockId::Sorter);
  EXPECT_EQ(blocks().controls.badRow, 3);
  EXPECT_EQ(blocks().values(BlockId::Sorter)[0], 10u);  // nothing taken into the block
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{82});
  lan2().receive(replyFrame(82, {}));

  cells(BlockId::Sorter)[0] = "77";
  cells(BlockId::Sorter)[3] = "13";
  blocks().SetClick(BlockId::Sorter);
  device.channel.sendNextCmd();
  EXPECT_EQ(
      answer(),
      hex("4D 00 00 00 0B 00 00 00 0C 00 00 00 0D 00 00 00 0E 00 00 00 0F 00 00 00 10 00 00 00"));
  EXPECT_EQ(blocks().controls.badRow, -1);
  EXPECT_EQ(blocks().controls.message, "SetSorter written: 7 values");  // the bad cell is forgotten
}

TEST_F(ConfigBlocksTest, AWriteBeforeAnyReadOrLoadIsRefusedRatherThanSendingZeros) {
  blocks().SetClick(BlockId::Sys);
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
  EXPECT_EQ(blocks().controls.message,
            "SetSys not sent: SysPar row 0 (Lingua): '' is not a valid integer value");
}

TEST_F(ConfigBlocksTest, SetAllParWritesTheSixBlocksInItsOrder) {
  blocks().GetParFileClick(std::nullopt);  // grids from the (zeroed) blocks
  blocks().SetAllParClick();
  std::vector<int> codes;
  std::vector<size_t> sizes;
  device.channel.sendNextCmd();
  while (!lan2().writes.empty()) {
    codes.push_back(lan2().writes.front().at(7));
    sizes.push_back(answer().size());
  }
  EXPECT_EQ(codes, (std::vector<int>{23, 37, 25, 15, 11, 46}));
  EXPECT_EQ(sizes, (std::vector<size_t>{48, 32, 72, 40, 120, 28}));
}

TEST_F(ConfigBlocksTest, BackupFileHoldsTheBlocksBackToBackInFileOrder) {
  struct Place {
    BlockId id;
    size_t offset;
  } places[] = {{BlockId::Comm, 0},    {BlockId::Zero, 48}, {BlockId::ProdPar, 80},
                {BlockId::Ad104, 152}, {BlockId::Sys, 192}, {BlockId::Sorter, 312}};
  uint32_t base = 0x100;
  for (const Place& p : places) {
    blocks().GetClick(p.id);
    device.channel.sendNextCmd();
    answer(counting(blockLayout(p.id).values, base));
    base += 0x100;
  }
  const std::string path = dir.file("blocks.bin");
  ASSERT_TRUE(blocks().SaveParFileClick(path));
  const std::string image = readWhole(path);
  ASSERT_EQ(image.size(), 340u);
  base = 0x100;
  for (const Place& p : places) {
    const Bytes want = counting(blockLayout(p.id).values, base);
    EXPECT_EQ(Bytes(image.begin() + static_cast<long>(p.offset),
                    image.begin() + static_cast<long>(p.offset + want.size())),
              want)
        << blockLayout(p.id).block;
    base += 0x100;
  }

  // Another tool instance loads it and shows the same grids, hidden zero values included.
  FakeSeams otherSeams;
  Device other(otherSeams);
  EXPECT_TRUE(other.configBlocks.GetParFileClick(path));
  EXPECT_EQ(other.configBlocks.blocks(), blocks().blocks());
  EXPECT_EQ(other.configBlocks.controls.cells, blocks().controls.cells);
  EXPECT_EQ(other.configBlocks.values(BlockId::Zero)[7], 0x207u);
}

TEST_F(ConfigBlocksTest, OnlyAFileOfExactly340BytesIsLoaded) {
  const Bytes good = encodeBlockBackup(zeroedBlocks());
  blocks().GetClick(BlockId::Comm);
  device.channel.sendNextCmd();
  answer(counting(12, 5));
  struct Case {
    size_t size;
    const char* message;
  } cases[] = {
      {339, " is not a block backup: 339 bytes instead of 340; nothing loaded"},
      {0, " is not a block backup: 0 bytes instead of 340; nothing loaded"},
      {341, " is 341 bytes; at most 340 are read for a block backup"},
      {100000, " is 100000 bytes; at most 340 are read for a block backup"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file("wrong.bin");
    writeWhole(path, std::string(c.size, '\x01'));
    cells(BlockId::Comm)[1] = "999";  // an unsent edit: the grids are refreshed all the same
    EXPECT_FALSE(blocks().GetParFileClick(path));
    EXPECT_EQ(blocks().controls.message, path + c.message);
    EXPECT_EQ(blocks().values(BlockId::Comm)[0], 5u);
    EXPECT_EQ(cells(BlockId::Comm)[1], "6");
  }
  EXPECT_FALSE(decodeBlockBackup(Bytes(339, 0)).has_value());
  EXPECT_TRUE(decodeBlockBackup(good).has_value());
}

TEST_F(ConfigBlocksTest, ACancelledLoadStillRefreshesTheGridsAndMissingFilesSaySo) {
  blocks().GetClick(BlockId::ProdPar);
  device.channel.sendNextCmd();
  answer(counting(18, 40));
  cells(BlockId::ProdPar)[17] = "1";
  EXPECT_FALSE(blocks().GetParFileClick(std::nullopt));
  EXPECT_EQ(cells(BlockId::ProdPar)[17], "57");
  EXPECT_EQ(blocks().controls.message, "");

  const std::string missing = dir.file("none/b.bin");
  EXPECT_FALSE(blocks().GetParFileClick(missing));
  EXPECT_EQ(blocks().controls.message, "Cannot open " + missing + ": No such file or directory");
  EXPECT_FALSE(blocks().SaveParFileClick(missing));
  EXPECT_EQ(blocks().controls.message, "Cannot create " + missing + ": No such file or directory");
}

TEST_F(ConfigBlocksTest, AShortBlockReplyReadsMissingBytesAsZeroAndSaysSo) {
  blocks().GetClick(BlockId::Ad104);
  device.channel.sendNextCmd();
  answer(counting(9, 1));  // 36 of 40 bytes
  EXPECT_EQ(shell().errorBar[1], "Short reply 16: 36 of 40 bytes");
  EXPECT_EQ(cells(BlockId::Ad104)[8], "9");
  EXPECT_EQ(cells(BlockId::Ad104)[9], "0");
}

TEST_F(ConfigBlocksTest, GetPesoOnShowsTheSixCountersInEdit5) {
  device.pesoCounters.GetPesoOnClick();
  device.channel.sendNextCmd();
  EXPECT_EQ(lan2().writes.at(0).at(7), 34);
  EXPECT_TRUE(answer(hex("01 00 FF FF 00 01 03 00 00 00 10 27")).empty());
  EXPECT_EQ(device.pesoCounters.controls.edit5, "R1 Ow65535 Id256 St3 IdCk0 IdO10000");
}

// A block read whose reply is lost is asked for once more; a second silence ends
// it, the page names the button, and the next request goes out.
TEST_F(ConfigBlocksTest, ABlockReadWhoseReplyIsLostIsRetriedOnceThenNamed) {
  blocks().GetClick(BlockId::Comm);
  blocks().GetClick(BlockId::Sys);
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{22});
  silence();
  EXPECT_EQ(sentCodes(), std::vector<int>{22});
  silence();
  EXPECT_EQ(blocks().controls.message, "GetComm: no reply");
  EXPECT_EQ(sentCodes(), std::vector<int>{52});
  EXPECT_EQ(cells(BlockId::Comm).front(), "");  // nothing was read into it
}
