#include <gtest/gtest.h>

#include "link_fixture.h"
#include "peripherals/reject_text_file.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

namespace {

struct Request {
  int code;
  uint16_t parNum;
  Bytes params;
};

struct LabelPrinterTest : LinkFixture {
  TempDir dir;
  LabelPrinter& printer() { return device.labelPrinter; }
  LabelPrinterControls& controls() { return device.labelPrinter.controls; }

  LabelPrinterTest() { connectMain(); }
  bool load(const std::string& bytes) {
    const std::string path = dir.file("label.txt");
    writeWhole(path, bytes);
    return printer().SetPrintClick(path);
  }
  // Sends the next request and answers it with `payload`.
  Request exchange(const Bytes& payload = {}) {
    device.channel.sendNextCmd();
    const Bytes w = lan2().takeWrite();
    EXPECT_FALSE(w.empty());
    if (w.empty()) return {};
    Request r{w.at(7), static_cast<uint16_t>(w.at(5) << 8 | w.at(6)),
              Bytes(w.begin() + 8, w.end() - 3)};
    lan2().receive(replyFrame(r.code, payload));
    return r;
  }
  FakeSocket& lanPrint() {
    for (FakeSocket* s : seams.sockets)
      if (s->port == kPrinterPort) return *s;
    ADD_FAILURE() << "LanPrint not opened";
    return *seams.sockets.front();
  }
};

}  // namespace

TEST_F(LabelPrinterTest, UploadsInThousandByteChunksEndingWithTheZeroByte) {
  struct Case {
    size_t length;
    std::vector<uint16_t> offsets, parNums;
  };
  const Case cases[] = {
      {2500, {0, 1000, 2000}, {1003, 1003, 504}},
      {2000, {0, 1000, 2000}, {1003, 1003, 4}},
      {3, {0}, {7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::string label(c.length, 'x');
    for (size_t i = 0; i < label.size(); ++i) label[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(load(label));
    controls().labelId = 4;
    controls().labelIdProd = 77;
    printer().SendPrtClick();
    Bytes received;
    for (size_t k = 0; k < c.offsets.size(); ++k) {
      const Request r = exchange();
      ASSERT_EQ(r.code, 40);
      EXPECT_EQ(r.parNum, c.parNums[k]);
      EXPECT_EQ(r.params.at(0), 4);
      EXPECT_EQ(r.params.at(1) | r.params.at(2) << 8, c.offsets[k]);
      received.insert(received.end(), r.params.begin() + 3, r.params.end());
      // The reply has sent the next request already: the next chunk, or the closing 41.
      const size_t shown = std::min(k + 2, c.offsets.size());
      EXPECT_EQ(controls().progress,
                "chunk " + std::to_string(shown) + " of " + std::to_string(c.offsets.size()));
    }
    Bytes expected(label.begin(), label.end());
    expected.push_back(0);
    EXPECT_EQ(received, expected);
    uint8_t sum = 0;
    for (char ch : label) sum = static_cast<uint8_t>(sum + ch);
    const Request close = exchange(Bytes{1});
    EXPECT_EQ(close.code, 41);
    EXPECT_EQ(close.params, (Bytes{4, 77, sum}));
    EXPECT_EQ(controls().msgPrt, PrtState::Sent);
    EXPECT_EQ(controls().progress, "");
    EXPECT_TRUE(device.channel.queue().size() == 0);
  }
}

TEST_F(LabelPrinterTest, ChecksumIsTheByteSumUpToTheZeroOverAtMost10000Bytes) {
  ASSERT_TRUE(load("abc"));
  EXPECT_EQ(printer().label().checksum(), 0x26);
  ASSERT_TRUE(load(std::string("ab\0zz", 5)));
  EXPECT_EQ(printer().label().checksum(), 97 + 98);
  ASSERT_TRUE(load(std::string(10000, '\x01') + "\x05"));
  EXPECT_EQ(printer().label().checksum(), 10000 % 256);
}

TEST_F(LabelPrinterTest, Reply41Value2IsErrorInRedOtherValuesSentInGreen) {
  ASSERT_TRUE(load("abc"));
  EXPECT_EQ(controls().msgPrt, PrtState::Ready);
  EXPECT_EQ(prtStateColour(PrtState::Ready), Colour::ButtonFace);
  for (auto [value, state] : {std::pair{2, PrtState::Error},
                              {0, PrtState::Sent},
                              {1, PrtState::Sent},
                              {2, PrtState::Error}}) {
    printer().SendPrtClick();
    exchange();
    exchange(Bytes{static_cast<uint8_t>(value)});
    EXPECT_EQ(controls().msgPrt, state) << value;
  }
  EXPECT_EQ(prtStateText(PrtState::Error), std::string("Error"));
  EXPECT_EQ(prtStateColour(PrtState::Error), Colour::Red);
  EXPECT_EQ(prtStateColour(PrtState::Sent), Colour::Green);
}

TEST_F(LabelPrinterTest, RefusesFilesThatWouldWrapTheOffsetOrCannotBeOpened) {
  ASSERT_TRUE(load(std::string(65535, 'a')));
  EXPECT_TRUE(controls().sendEnabled);
  EXPECT_FALSE(load(std::string(65536, 'a')));
  EXPECT_EQ(controls().msgPrt, PrtState::Error);
  EXPECT_FALSE(controls().sendEnabled) << "the refused file replaced nothing that can be sent";
  EXPECT_NE(controls().memo5.back().find("65536 bytes"), std::string::npos)
      << controls().memo5.back();
  printer().SendPrtClick();
  EXPECT_EQ(device.channel.queue().size(), 0u);
  EXPECT_FALSE(printer().SetPrintClick(dir.file("missing.txt")));
  EXPECT_EQ(controls().memo5.back().rfind("Label not loaded: Cannot open", 0), 0u)
      << controls().memo5.back();
}

TEST_F(LabelPrinterTest, TheLoadedTextIsShownInMemo5LineByLine) {
  ASSERT_TRUE(load("^XA\r\n<nm_item>\r\n^XZ"));
  const size_t n = controls().memo5.size();
  EXPECT_EQ(controls().memo5[n - 3], "^XA");
  EXPECT_EQ(controls().memo5[n - 2], "<nm_item>");
  EXPECT_EQ(controls().memo5[n - 1], "^XZ");
}

TEST_F(LabelPrinterTest, ValidityTableFillsFourColumnsByNineRows) {
  Bytes table(36);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(200 + i);
  printer().GetPrValidClick();
  exchange(table);
  EXPECT_EQ(controls().validity[4 * 8 + 3], 235);
  EXPECT_EQ(shell().errorBar[1], "");
  printer().GetPrValidClick();
  exchange(Bytes(10, 9));
  EXPECT_EQ(controls().validity[9], 9);
  EXPECT_EQ(controls().validity[10], 0) << "what did not arrive reads as zero";
  EXPECT_EQ(shell().errorBar[1], "Short reply 42: 10 of 36 bytes");
}

TEST_F(LabelPrinterTest, RejectTextsReadCutAt99AndWriteBackWithValueOne) {
  Bytes block(816, 0);
  const std::string slot0 = "hidden slot";
  std::copy(slot0.begin(), slot0.end(), block.begin());
  std::fill_n(block.begin() + 100, 100, 'A');  // slot 1 with no zero byte
  std::copy_n("NoRead", 6, block.begin() + 300);
  block[800] = 0x34, block[801] = 0x12;  // value 0
  block[806] = 7;                        // value 3
  printer().GetErLbClick();
  exchange(block);
  EXPECT_EQ(controls().erLbTexts[1], std::string(99, 'A'));
  EXPECT_EQ(controls().erLbTexts[3], "NoRead");
  EXPECT_EQ(controls().erLbValues[3], "7");
  EXPECT_EQ(controls().erLbValues[1], "0");

  controls().erLbTexts[2] = std::string(120, 'z');
  controls().erLbValues[5] = "9";  // column 0 is never sent
  printer().SetErLbClick();
  const Request w = exchange();
  ASSERT_EQ(w.code, 44);
  EXPECT_EQ(w.parNum, 816);
  ASSERT_EQ(w.params.size(), 816u);
  EXPECT_EQ(std::string(w.params.begin(), w.params.begin() + 11), slot0);
  EXPECT_EQ(std::string(w.params.begin() + 200, w.params.begin() + 299), std::string(99, 'z'));
  EXPECT_EQ(w.params[299], 0);
  EXPECT_EQ(std::string(w.params.begin() + 100, w.params.begin() + 199), std::string(99, 'A'));
  EXPECT_EQ(w.params[199], 0);
  EXPECT_EQ(w.params[800], 0x34);
  EXPECT_EQ(w.params[801], 0x12);
  for (size_t i = 1; i <= 7; ++i) {
    EXPECT_EQ(w.params[800 + 2 * i], 1) << i;
    EXPECT_EQ(w.params[801 + 2 * i], 0) << i;
  }
}

TEST_F(LabelPrinterTest, AShortReply43FillsWithZerosAndIsReported) {
  Bytes part(150, 0);
  std::copy_n("P1", 2, part.begin() + 100);
  printer().GetErLbClick();
  exchange(part);
  EXPECT_EQ(controls().erLbTexts[1], "P1");
  EXPECT_EQ(controls().erLbTexts[7], "");
  EXPECT_EQ(shell().errorBar[1], "Short reply 43: 150 of 816 bytes");
}

TEST_F(LabelPrinterTest, RawSendAt115200WritesThousandBytesATickAndLogsInOrder) {
  std::string label(2500, 'r');
  ASSERT_TRUE(load(label));
  device.printerChannel.Button2Click("127.0.0.190");
  EXPECT_EQ(shell().memo1.back(), "Connect Pr");
  lanPrint().connect();
  EXPECT_EQ(controls().memo5.back(), "Connect Pr");
  device.printerChannel.PrSendClick(6);
  EXPECT_EQ(device.printerChannel.timPr().interval(), 90);
  ASSERT_EQ(lanPrint().writes.size(), 1u);
  EXPECT_EQ(lanPrint().writes[0].size(), 1000u);
  EXPECT_EQ(controls().memo5.back(), "Send Pr");
  device.printerChannel.TimPrTimer();
  device.printerChannel.TimPrTimer();
  ASSERT_EQ(lanPrint().writes.size(), 3u);
  EXPECT_EQ(lanPrint().writes[1].size(), 1000u);
  EXPECT_EQ(lanPrint().writes[2].size(), 500u);
  EXPECT_EQ(controls().memo5.back(), "Send Pr ok");
  EXPECT_FALSE(device.printerChannel.sending());
  device.printerChannel.TimPrTimer();
  EXPECT_EQ(lanPrint().writes.size(), 3u) << "nothing after the end";
  lanPrint().receive(Bytes{'P', 'R', 'N', '\r', '\n'});
  EXPECT_EQ(controls().memo5.back(), "PRN");
}

TEST_F(LabelPrinterTest, ASmallLabelGoesInOneWriteAndOkComesBeforeSendPr) {
  ASSERT_TRUE(load(std::string(1000, 's')));
  device.printerChannel.Button2Click("127.0.0.190");
  lanPrint().connect();
  for (int rate = 0; rate < 7; ++rate) {
    device.printerChannel.PrSendClick(rate);
    EXPECT_EQ(device.printerChannel.timPr().interval(), 1050 - 160 * rate);
  }
  EXPECT_EQ(lanPrint().writes.size(), 7u);
  const size_t n = controls().memo5.size();
  EXPECT_EQ(controls().memo5[n - 2], "Send Pr ok");
  EXPECT_EQ(controls().memo5[n - 1], "Send Pr");
}

TEST_F(LabelPrinterTest, PrinterFailuresReachTheUserAndNeverSendIntoNothing) {
  ASSERT_TRUE(load(std::string(3000, 'f')));
  std::vector<std::string> alerts;
  Subscription<const std::string&> sub(shell().onAlert,
                                       [&](const std::string& t) { alerts.push_back(t); });
  device.printerChannel.PrSendClick(0);
  EXPECT_EQ(controls().memo5.back(), "Send Pr: the printer is not connected (Conn)");
  device.printerChannel.Button2Click("127.0.0.190");
  lanPrint().fail("Connection refused");
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0], "Printer port 47001: Connection refused");

  device.printerChannel.Button2Click("127.0.0.190");
  lanPrint().connect();
  device.printerChannel.PrSendClick(0);
  lanPrint().close();
  EXPECT_EQ(controls().memo5.back(), "Send Pr stopped: the printer disconnected");
  EXPECT_FALSE(device.printerChannel.sending());
}

TEST(RejectTextFile, TakesExactlySevenLinesOfAtMost99Characters) {
  struct Case {
    std::string content;
    const char* error;  // nullptr: accepted
  };
  const std::string seven = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n";
  const Case cases[] = {
      {seven, nullptr},
      {"a\nb\nc\nd\ne\nf\ng", nullptr},
      {"a\nb\nc\nd\ne\nf\n", "f.txt has 6 lines; a reject-text file has exactly 7"},
      {seven + "h\n", "f.txt has more than 7 lines; a reject-text file has exactly 7"},
      {std::string(100, 'x') + "\nb\nc\nd\ne\nf\ng\n",
       "f.txt line 1: 100 characters; at most 99, and no zero byte"},
      {std::string("a\nb\0b\nc\nd\ne\nf\ng\n", 16),
       "f.txt line 2: 3 characters; at most 99, and no zero byte"},
  };
  for (const Case& c : cases) {
    RejectTexts texts;
    std::string error;
    EXPECT_EQ(parseRejectTexts(c.content, "f.txt", texts, error), c.error == nullptr) << error;
    if (c.error) {
      EXPECT_EQ(error, c.error);
      EXPECT_EQ(texts[0], "");
    } else {
      EXPECT_EQ(texts[0], "a");
      EXPECT_EQ(texts[6], "g");
    }
  }
}
