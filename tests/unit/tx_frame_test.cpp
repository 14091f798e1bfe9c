#include "link/tx_frame.h"

#include <gtest/gtest.h>

#include "fakes.h"

using namespace vantor;
using vantor::test::hex;

namespace {
Bytes build(TxFrame& tx, int code, const Bytes& params = {}) {
  tx.begin(code);
  tx.putBytes(params);
  const ByteView f = tx.finish();
  return Bytes(f.begin(), f.end());
}
}  // namespace

TEST(TxFrame, FirstStatusRequestIsTheWorkedExample) {
  TxFrame tx;
  EXPECT_EQ(build(tx, 51), hex("02 00 01 00 01 00 00 33 00 35 03"));
  EXPECT_EQ(tx.msComPr(), "     1      0");
  EXPECT_EQ(tx.protMaster(), "02  00  01  00  01  00  00  33  ..  ..  00  35  03  ");
}

TEST(TxFrame, ParametersAreCountedAndSummedAndHiddenFromTheReadout) {
  TxFrame tx;
  tx.setCmdNum(0x01FF);
  const Bytes f = build(tx, 64, {0x03, 0x0C});
  // CmdNum 0x0200, ParNum 2, CMD 0x40, params 03 0C; sum 00+01+02+00+00+02+40+03+0C = 0x54
  EXPECT_EQ(f, hex("02 00 01 02 00 00 02 40 03 0C 00 54 03"));
  EXPECT_EQ(tx.protMaster(), "02  00  01  02  00  00  02  40  ..  ..  00  54  03  ");
  EXPECT_EQ(tx.msComPr(), "   512      2");
}

TEST(TxFrame, CounterWrapsFrom65535ToZero) {
  TxFrame tx;
  tx.setCmdNum(65534);
  EXPECT_EQ(build(tx, 82)[4], 0xFF);
  EXPECT_EQ(tx.cmdNum(), 65535);
  const Bytes f = build(tx, 82);
  EXPECT_EQ(tx.cmdNum(), 0);
  EXPECT_EQ(f, hex("02 00 01 00 00 00 00 52 00 53 03"));
}

TEST(TxFrame, LittleEndianValuesAndChecksumWrapAt65536) {
  TxFrame tx;
  tx.begin(63);
  tx.put16(0x1234);
  tx.put32(0xA1B2C3D4);
  ByteView f = tx.finish();
  EXPECT_EQ(Bytes(f.begin() + 8, f.begin() + 14), hex("34 12 D4 C3 B2 A1"));

  tx.setCmdNum(0);
  const Bytes big = build(tx, 0x7F, Bytes(300, 0xFF));
  const unsigned full =
      0x01 + 0x01 + 0x01 + 0x2C + 0x7F + 300u * 0xFF;  // IDM, CNL, PNH, PNL, CMD, params
  EXPECT_EQ(big.size(), 311u);
  EXPECT_EQ(big[308], (full >> 8) & 0xFF);
  EXPECT_EQ(big[309], full & 0xFF);
  EXPECT_EQ(big[310], 0x03);
}

TEST(TxFrame, RequestLargerThanTheBufferIsRefusedNotOverrun) {
  TxFrame tx;
  tx.begin(63);
  for (size_t i = 0; i < frame::kMaxRequestParams; ++i) tx.put8(0xAA);
  EXPECT_THROW(tx.put8(0xAA), RequestTooLarge);
  EXPECT_EQ(tx.parNum(), 2989);
  EXPECT_EQ(tx.finish().size(), 3000u);
}
