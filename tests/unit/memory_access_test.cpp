// RAM words, EEPROM pages and the barcode buffer dump.
#include <gtest/gtest.h>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

namespace {

struct MemoryAccessTest : LinkFixture {
  MemoryAccessControls& c = device.memoryAccess.controls;
  MemoryAccessTest() { connectMain(); }
  // The request `code` as sent: its parameter bytes.
  Bytes sendParams() {
    device.channel.sendNextCmd();
    const Bytes w = lan2().takeWrite();
    if (w.size() < 11) return {};
    return Bytes(w.begin() + 8, w.end() - 3);
  }
};

}  // namespace

TEST_F(MemoryAccessTest, RamAddressTakesTheUpperHalfWithHiAdd) {
  c.addRAM = 4;
  c.hiAdd = true;
  device.memoryAccess.AddRAMChange();
  EXPECT_EQ(c.addrRAM, "80000004");
  device.memoryAccess.RD_RAMClick();
  EXPECT_EQ(sendParams(), hex("04 00 00 80"));
  c.hiAdd = false;
  device.memoryAccess.AddRAMChange();
  EXPECT_EQ(c.addrRAM, "00000004");
}

TEST_F(MemoryAccessTest, ReadWordShowsUnsignedAndHexAndMinusOneWritesItBack) {
  device.memoryAccess.RD_RAMClick();
  device.channel.sendNextCmd();
  lan2().writes.clear();
  lan2().receive(replyFrame(12, hex("FF FF FF FF")));
  EXPECT_EQ(c.dataRAM, "4294967295");
  EXPECT_EQ(c.dataX, "FFFFFFFF");
  struct Case {
    const char* text;
    const char* sent;
  };
  for (const Case& k :
       {Case{"-1", "00 00 00 00 FF FF FF FF"}, Case{"4294967295", "00 00 00 00 FF FF FF FF"},
        Case{"300", "00 00 00 00 2C 01 00 00"}}) {
    c.dataRAM = k.text;
    device.memoryAccess.WR_RAMClick();
    EXPECT_EQ(sendParams(), hex(k.sent)) << k.text;
    lan2().receive(replyFrame(10, {}));  // the device's bare answer; nothing is shown
  }
}

TEST_F(MemoryAccessTest, TextsThatAreNotIntegersAreNotSentAndTheQueueGoesOn) {
  c.dataRAM = "Data";
  device.memoryAccess.WR_RAMClick();
  device.memoryAccess.RD_RAMClick();
  device.channel.sendNextCmd();  // 10 is refused unsent
  EXPECT_EQ(c.message, "WR not sent: DataRAM: 'Data' is not a valid integer value");
  EXPECT_EQ(shell().errorBar[1], c.message);
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{12});
  lan2().receive(replyFrame(12, hex("00 00 00 00")));

  c.memEEpPag[16 * 2 + 5] = "x5";
  device.memoryAccess.VR_EEPClick();
  device.channel.sendNextCmd();
  EXPECT_EQ(c.message, "WR not sent: MemEEpPag row 2 column 5: 'x5' is not a valid integer value");
  EXPECT_TRUE(sentCodes().empty());
}

TEST_F(MemoryAccessTest, EepromReadFillsOnlyThePageLengthAndKeepsTheOtherCells) {
  for (size_t i = 0; i < kEepPageBytes; ++i) c.memEEpPag[i] = "7";
  c.addEEP = 0x123456;
  c.numBPg = 20;
  device.memoryAccess.AddEEPChange();
  EXPECT_EQ(c.addEEPx, "00123456");
  device.memoryAccess.RD_EEPClick();
  EXPECT_EQ(sendParams(), hex("56 34 12 00 14"));
  Bytes reply{0};
  for (int i = 0; i < 20; ++i) reply.push_back(static_cast<uint8_t>(100 + i));
  lan2().receive(replyFrame(17, reply));
  EXPECT_EQ(c.stEEP, "0");
  EXPECT_EQ(c.dataEEP, "100");
  EXPECT_EQ(c.memEEpPag[19], "119");  // row 1, column 3
  EXPECT_EQ(c.memEEpPag[20], "0");    // never read nor written as a number: the buffer's 0
  // A later read of 2 bytes leaves bytes 2..19 of the earlier read.
  c.numBPg = 2;
  device.memoryAccess.RD_EEPClick();
  sendParams();
  lan2().receive(replyFrame(17, hex("01 09 08")));
  EXPECT_EQ(c.stEEP, "1");
  EXPECT_EQ(c.memEEpPag[0], "9");
  EXPECT_EQ(c.memEEpPag[2], "102");
}

TEST_F(MemoryAccessTest, EepromReadShortOfThePageKeepsWhatDidNotArrive) {
  c.numBPg = 4;
  device.memoryAccess.RD_EEPClick();
  sendParams();
  lan2().receive(replyFrame(17, hex("00 05 06")));
  EXPECT_EQ(shell().errorBar[1], "Short reply 17: 3 of 5 bytes");
  EXPECT_EQ(c.memEEpPag[1], "6");
  EXPECT_EQ(c.memEEpPag[2], "0");
}

TEST_F(MemoryAccessTest, EepromWriteSendsThePageLengthOfCellsLowBytesInRowOrder) {
  for (size_t i = 0; i < kEepPageBytes; ++i) c.memEEpPag[i] = std::to_string(i);
  c.memEEpPag[1] = "300";  // sent as its low byte, 44
  c.memEEpPag[2] = "-1";
  c.numBPg = 128;
  device.memoryAccess.VR_EEPClick();
  const Bytes p = sendParams();
  ASSERT_EQ(p.size(), 133u);
  EXPECT_EQ(p[4], 128);
  EXPECT_EQ(p[5], 0);
  EXPECT_EQ(p[6], 44);
  EXPECT_EQ(p[7], 255);
  EXPECT_EQ(p[5 + 17], 17);  // (1, 1)
  EXPECT_EQ(p[132], 127);
  lan2().receive(replyFrame(18, hex("01")));
  EXPECT_EQ(c.stEEP, "1");
  // A page length of 1 sends one byte, payload 6.
  c.numBPg = 1;
  device.memoryAccess.VR_EEPClick();
  EXPECT_EQ(sendParams().size(), 6u);
}

TEST_F(MemoryAccessTest, ShortReplyOfARamReadIsReported) {
  device.memoryAccess.RD_RAMClick();
  sendParams();
  lan2().receive(replyFrame(12, hex("01 02")));
  EXPECT_EQ(shell().errorBar[1], "Short reply 12: 2 of 4 bytes");
  EXPECT_EQ(c.dataX, "00000201");
}

TEST_F(MemoryAccessTest, BarcodeDumpHasAnEmptyLineBeforeEachGroupOf64) {
  Bytes buffer(640, 0);
  const std::string code = "8712345678906";
  std::copy(code.begin(), code.end(), buffer.begin());
  buffer[64] = 'Z';
  device.memoryAccess.GetBarCodeClick();
  sendParams();
  const size_t before = shell().memo1.total();
  lan2().receive(replyFrame(33, buffer));
  ASSERT_EQ(shell().memo1.total() - before, 650u);
  const BoundedLog& m = shell().memo1;
  const size_t first = m.total() - m.size();
  auto at = [&](size_t k) { return m[before - first + k]; };
  EXPECT_EQ(at(0), "");
  EXPECT_EQ(at(1), "0x38 - 8");
  EXPECT_EQ(at(14), "0x00 - ");
  EXPECT_EQ(at(65), "");
  EXPECT_EQ(at(66), "0x5A - Z");
  // A shorter dump shows what came and is reported short.
  device.memoryAccess.GetBarCodeClick();
  sendParams();
  lan2().receive(replyFrame(33, Bytes(10, 'A')));
  EXPECT_EQ(shell().errorBar[1], "Short reply 33: 10 of 640 bytes");
}

TEST_F(MemoryAccessTest, SetEEpromSendsTheBareCommand) {
  device.memoryAccess.SetEEpromClick();
  EXPECT_EQ(sendParams(), Bytes{});
  EXPECT_EQ(device.channel.awaitedCode(), 32);
}

TEST(ParseWord32, DecimalSignedOrHex) {
  EXPECT_EQ(parseWord32("0x80000004"), 0x80000004u);
  EXPECT_EQ(parseWord32("0XffffFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(parseWord32("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(parseWord32("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(parseWord32("0x"), std::nullopt);
  EXPECT_EQ(parseWord32("0x100000000"), std::nullopt);
  EXPECT_EQ(parseWord32("4294967296"), std::nullopt);
  EXPECT_EQ(parseWord32("0xG1"), std::nullopt);
}
