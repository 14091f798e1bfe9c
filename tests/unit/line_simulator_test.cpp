// The line simulator: serial barcodes with and without check digits, the two
// reader forms of command 30, the injected weight, AutoFill and "BarSim".
#include <gtest/gtest.h>

#include "link_fixture.h"
#include "peripherals/integrator_frame.h"
#include "products_fixture.h"

using namespace vantor;
using namespace vantor::test;

namespace {

// The parameter bytes of the request just written to the main socket.
Bytes paramsOf(const Bytes& frame) {
  if (frame.size() < 11) return {};
  return Bytes(frame.begin() + 8, frame.end() - 3);
}

struct LineSimulatorTest : LinkFixture {
  LineSimulator& sim = device.lineSimulator;
  LineSimControls& c = device.lineSimulator.controls;
  LineSimulatorTest() { connectMain(); }

  // Sends the head of the queue; its code and parameter bytes.
  std::pair<int, Bytes> send() {
    device.channel.sendNextCmd();
    if (lan2().writes.empty()) return {-1, {}};
    const Bytes w = lan2().takeWrite();
    lan2().writes.clear();
    const int code = w.at(7);
    lan2().receive(replyFrame(code, {}));
    return {code, paramsOf(w)};
  }
  // Reader 0's barcode as command 30 sends it in one-reader form.
  std::string sentBarcode() {
    const auto [code, params] = send();
    EXPECT_EQ(code, 30);
    if (params.size() < 3) return "(short)";
    return std::string(params.begin() + 2, params.end() - 1);
  }
  void serialFrom(const std::string& prefix, int lenSer, bool bcc) {
    c.edit1 = prefix;
    c.lenSer = lenSer;
    c.bccOn = bcc;
    sim.SeqSerClick(true);
  }
};

}  // namespace

TEST_F(LineSimulatorTest, SerialBarcodesOfReaderZeroWithAndWithoutCheckDigit) {
  struct Case {
    std::string prefix;
    int lenSer;
    bool bcc;
    std::vector<std::string> codes;
  };
  const Case cases[] = {
      {"1010", 8, false, {"101000000001", "101000000002"}},
      {"1010", 8, true, {"1010000000015", "1010000000022"}},
      {"1010", 0, false, {"1010", "1010"}},
      {"1010", 0, true, {"10108", "10108"}},
      {"", 10, false, {"0000000001", "0000000002"}},
      {"77", 1, false, {"771", "772"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.prefix + " LenSer " + std::to_string(k.lenSer) + (k.bcc ? " BCC" : ""));
    serialFrom(k.prefix, k.lenSer, k.bcc);
    for (const std::string& expected : k.codes) {
      sim.SetBar0Click();
      EXPECT_EQ(c.barCode0, expected);
      EXPECT_EQ(sentBarcode(), expected);
    }
    EXPECT_EQ(c.message, "");
  }
}

TEST_F(LineSimulatorTest, WithoutSeqSerTheEditedBarcodeGoesOutAsItIs) {
  c.barCode0 = "ABC";
  c.bccOn = true;
  sim.SetBar0Click();
  EXPECT_EQ(sentBarcode(), "ABC");
  EXPECT_EQ(sim.serial(), 0);
}

// Mended: a long code keeps a digit for a check digit (the plain rule
// (1000 - sum) mod 10 goes negative past a sum of 1000), and a code with a
// character that is not a digit gets none, which the box says.
TEST(CheckDigit, ModuloTenOfAnyLengthAndNoneForNonDigits) {
  EXPECT_EQ(checkDigit("101000000001"), '5');
  EXPECT_EQ(checkDigit("101000000002"), '2');
  EXPECT_EQ(checkDigit("400638133393"), '1');  // EAN-13 4006381333931
  EXPECT_EQ(checkDigit("0"), '0');
  EXPECT_EQ(checkDigit(""), '0');
  // Nines past the plain rule's range: 60 x 27 + 60 x 9 = 2160, 60 x 27 + 59 x 9 = 2151.
  EXPECT_EQ(checkDigit(std::string(120, '9')), '0');
  EXPECT_EQ(checkDigit(std::string(119, '9')), '9');
  EXPECT_EQ(checkDigit("10A0"), std::nullopt);
  EXPECT_EQ(checkDigit("-1"), std::nullopt);
  EXPECT_EQ(checkDigit(" 1"), std::nullopt);
}

TEST_F(LineSimulatorTest, ANonDigitPrefixGetsNoCheckDigitAndTheBoxSaysSo) {
  serialFrom("AB", 4, true);
  sim.SetBar0Click();
  EXPECT_EQ(c.barCode0, "AB0001");
  EXPECT_EQ(c.message, "No check digit: the code has a character that is not a digit");
  EXPECT_EQ(sentBarcode(), "AB0001");
  c.edit1 = "12";
  sim.SetBar0Click();
  EXPECT_EQ(c.barCode0, "1200027");  // 2x3 + 0 + 0 + 0 + 2x3 + 1x1 = 13
  EXPECT_EQ(c.message, "");
}

TEST_F(LineSimulatorTest, ReaderOneNumbersInPlainDecimalSharingTheCounter) {
  serialFrom("1010", 8, true);
  sim.SetBar0Click();
  send();
  sim.SetBar1Click();
  send();
  sim.SetBar1Click();
  EXPECT_EQ(c.barCode1, "10103");
  EXPECT_EQ(sim.readerIndex(), 1);
  const auto [code, params] = send();
  EXPECT_EQ(code, 30);
  EXPECT_EQ(params, (Bytes{1, 2, '1', '0', '1', '0', '3', 3}));
  // Checking SeqSer again restarts the numbering at 1.
  sim.SeqSerClick(false);
  sim.SeqSerClick(true);
  sim.SetBar1Click();
  EXPECT_EQ(c.barCode1, "10101");
}

TEST_F(LineSimulatorTest, TwoReaderAndOneReaderFormsOfCommand30) {
  c.barCode0 = "XYZ";
  c.barCode1 = "ABC";
  sim.SetBar1Click();
  EXPECT_EQ(send(), std::make_pair(30, hex("01 02 41 42 43 03")));
  sim.SetBar0Click();
  EXPECT_EQ(send(), std::make_pair(30, hex("00 02 58 59 5A 03")));
  sim.CheckBox1Click(false);
  c.barCode0 = "ABC";
  sim.SetBar0Click();
  EXPECT_EQ(send(), std::make_pair(30, hex("02 41 42 43 03")));
  // One reader: reader 1's button still sends BarCode0, with no index.
  sim.SetBar1Click();
  EXPECT_EQ(send(), std::make_pair(30, hex("02 41 42 43 03")));
}

TEST_F(LineSimulatorTest, ParNumCountsTheFramingAndAnEmptyCodeIsJustTheFraming) {
  c.barCode1 = "ABC";
  sim.SetBar1Click();
  device.channel.sendNextCmd();
  const Bytes w = lan2().takeWrite();
  EXPECT_EQ((w.at(5) << 8) | w.at(6), 6);
  lan2().receive(replyFrame(30, {}));
  c.barCode0.clear();
  sim.CheckBox1Click(false);
  sim.SetBar0Click();
  EXPECT_EQ(send().second, hex("02 03"));
}

TEST_F(LineSimulatorTest, SetPesoSendsTheWeightLowByteFirst) {
  for (const auto& [grams, bytes] :
       {std::pair{1000, "E8 03"}, std::pair{0, "00 00"}, std::pair{20000, "20 4E"}}) {
    c.pesoSet = grams;
    sim.SetPesoClick();
    EXPECT_EQ(send(), std::make_pair(19, hex(bytes)));
  }
}

TEST_F(LineSimulatorTest, BarSimSendsABarcodeAndQueuesMessage550OnEveryTick) {
  device.connection.controls.recOpen = true;
  device.connection.LanOffClick();
  connectMain();
  portRec().connect();
  serialFrom("1010", 8, false);
  device.connection.SelAutoClick(PollMode::BarSim);
  for (const std::string expected : {"101000000001", "101000000002", "101000000003"}) {
    relTim().fire();
    ASSERT_EQ(lan2().writes.size(), 1u);
    const Bytes w = lan2().takeWrite();
    EXPECT_EQ(w.at(7), 30);
    const Bytes params = paramsOf(w);
    EXPECT_EQ(std::string(params.begin() + 2, params.end() - 1), expected);
    ASSERT_EQ(portRec().writes.size(), 1u);
    EXPECT_EQ(portRec().takeWrite(), frameIntegratorText("550\t"));
    lan2().receive(replyFrame(30, {}));
  }
  // Other modes leave the line alone.
  device.connection.SelAutoClick(PollMode::Off);
  relTim().fire();
  EXPECT_TRUE(lan2().writes.empty());
  EXPECT_TRUE(portRec().writes.empty());
}

namespace {

struct LineSimulatorProductsTest : ProductsFixture {
  LineSimulator& sim = device.lineSimulator;
  LineSimControls& c = device.lineSimulator.controls;
};

}  // namespace

TEST_F(LineSimulatorProductsTest, AutoFillCreatesTheFreeSlotsUpToTheCapacity) {
  dev.capacity = 5;
  readAll();
  ASSERT_EQ(store().count(), 3u);
  const std::vector<std::string> listBefore = page().listBoxProd;
  sim.AutoFillClick();
  EXPECT_EQ(store().count(), 5u);
  ASSERT_EQ(page().listBoxProd.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(page().listBoxProd.begin(), page().listBoxProd.begin() + 3),
            listBefore);
  EXPECT_EQ(page().listBoxProd[3], "Desc3");
  EXPECT_EQ(page().listBoxProd[4], "Desc4");
  const size_t ic = store().structure().intCount;
  for (size_t slot : {3u, 4u}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(store().textField(slot, 0), "1010" + std::string("00") + std::to_string(slot) + "9");
    EXPECT_EQ(store().textField(slot, 1), "Desc" + std::to_string(slot));
    for (size_t k = 1; k < ic; ++k) EXPECT_EQ(store().intField(slot, k), dev.fields.at(k).def);
    EXPECT_EQ(store().record(slot).ints[8], slot);
  }
  EXPECT_EQ(page().hedProg, "Nº Prod: 5");
  // Full: a second press changes nothing.
  const ProdRecord four = store().record(4);
  sim.AutoFillClick();
  EXPECT_EQ(store().count(), 5u);
  EXPECT_EQ(store().record(4), four);
}

TEST_F(LineSimulatorProductsTest, AutoFillKeepsTheFieldNamesInTextsBeyondTheFirstTwo) {
  dev.capacity = 4;
  dev.widths = {21, 41, 11};
  dev.fields.insert(dev.fields.end(), FakeField{"Lote", "", ""});
  readAll();
  sim.AutoFillClick();
  EXPECT_EQ(store().textField(3, 2), "Lote");
  EXPECT_EQ(store().textField(3, 0), "10100039");
}

TEST_F(LineSimulatorProductsTest, AutoFillBeforeTheStructureDoesNothing) {
  connectMain();
  sim.AutoFillClick();
  EXPECT_EQ(store().count(), 0u);
  EXPECT_TRUE(page().listBoxProd.empty());
}

TEST_F(LineSimulatorProductsTest, ChoosingAProductFillsThePrefixAndDescription) {
  readAll();
  products().ListBoxProdChange(1);
  EXPECT_EQ(c.edit1, store().textField(1, 0));
  EXPECT_EQ(c.edit3, store().textField(1, 1));
  EXPECT_FALSE(c.edit1.empty());
  c.seqSer = true;
  sim.SeqSerClick(true);
  c.lenSer = 2;
  sim.SetBar0Click();
  EXPECT_EQ(c.barCode0, store().textField(1, 0) + "01");
}
