// The clock and serial pass-through, and the QX3 panel that rides on it.
#include <gtest/gtest.h>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

namespace {

Bytes ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A receive buffer of 256 bytes that starts with `text`.
Bytes rxPayload(const std::string& text) {
  Bytes p(kRxBufferBytes, 0);
  std::copy(text.begin(), text.end(), p.begin());
  return p;
}

struct ClockSerialTest : LinkFixture {
  ClockSerial& serial() { return device.clockSerial; }
  Qx3Panel& qx3() { return device.qx3Panel; }
  // Sends the next request that can be built (one refused goes on to the
  // next, as the next poll tick would) and returns its frame.
  Bytes sendNext() {
    while (lan2().writes.empty() && !(device.channel.queue().size() == 0) &&
           !device.channel.awaitedCode())
      device.channel.sendNextCmd();
    return lan2().takeWrite();
  }
  int itemOf(const std::string& letters) {
    const auto commands = qx3Commands();
    for (size_t i = 0; i < commands.size(); ++i)
      if (letters == std::string(commands[i], 3)) return static_cast<int>(i);
    ADD_FAILURE() << letters;
    return -1;
  }
};

}  // namespace

TEST(Qx3Commands, ListHoldsTheModuleCommandsInOrder) {
  const auto commands = qx3Commands();
  ASSERT_EQ(commands.size(), 27u);
  EXPECT_STREQ(commands[0], "SCC - Serial Communication Configuration");
  EXPECT_STREQ(commands[5], "UFA -  User Full Scale Adjust");
  EXPECT_STREQ(commands[11], "AZT -  Automatic Zero Tracking");
  EXPECT_STREQ(commands[20], "VER - Firmware Revision");
  EXPECT_STREQ(commands[26], "PRO - Prompt On/Off");
  for (const char* c : commands) EXPECT_EQ(std::string(c).substr(3, 3), " - ") << c;
}

// Request 2: port, the text, the end character.
TEST_F(ClockSerialTest, SetStrSendsPortTextAndEndCharacter) {
  struct Case {
    std::string text;
    int port, end;
    const char* expected;
  } cases[] = {
      {"IZA", 2, 13, "02 49 5A 41 0D"},
      {"", 2, 13, "02 0D"},
      {"A", 0, 1, "00 41 01"},
      {"ok", 3, 127, "03 6F 6B 7F"},
  };
  connectMain();
  for (const Case& c : cases) {
    serial().controls.strDataSend = c.text;
    serial().controls.portSel = c.port;
    serial().controls.endCh = c.end;
    serial().SetStrClick();
    const Bytes frame = sendNext();
    ASSERT_FALSE(frame.empty()) << c.text;
    EXPECT_EQ(frame.at(7), 2);
    EXPECT_EQ(requestParams(frame), hex(c.expected)) << c.text;
    EXPECT_EQ(device.channel.txFrame().parNum(), hex(c.expected).size());
    lan2().receive(replyFrame(2, {}));
    EXPECT_TRUE(lan2().writes.empty());  // no answer is fetched for the Comm group
  }
}

TEST_F(ClockSerialTest, ControlsStartAsTheGroupShowsThem) {
  EXPECT_EQ(serial().controls.portSel, 2);
  EXPECT_EQ(serial().controls.endCh, 13);
  EXPECT_EQ(serial().controls.strDataSend, "StrDataSend");
  EXPECT_TRUE(serial().controls.set0Enabled);
  EXPECT_FALSE(serial().controls.setFSEnabled);
  EXPECT_EQ(qx3().controls.cmdList, -1);
  EXPECT_FALSE(qx3().panelQuery());
}

// A text longer than its buffer is not sent (cut short it would be another
// command); the message names the limit and the queue goes on.
TEST_F(ClockSerialTest, TooLongTextsAreNotSent) {
  connectMain();
  serial().controls.strDataSend = std::string(256, 'a');
  serial().SetStrClick();
  serial().GetTimeClick();
  EXPECT_EQ(sendNext().at(7), 6);  // 2 was dropped, 6 went out
  EXPECT_EQ(shell().errorBar[1], "Serial text of 256 characters not sent: at most 255 characters");
  lan2().receive(replyFrame(6, ascii("07032024090503")));

  serial().controls.strDataSend = std::string(255, 'a');
  serial().SetStrClick();
  const Bytes frame = sendNext();
  ASSERT_FALSE(frame.empty());
  EXPECT_EQ(requestParams(frame).size(), 257u);
  lan2().receive(replyFrame(2, {}));

  qx3().controls.cmdList = itemOf("UCW");
  qx3().controls.qx3SetPar = std::string(38, '1');  // 3 + 38 = 41 characters
  qx3().SetStParClick();
  EXPECT_EQ(requestParams(sendNext()).size(), 43u);
  lan2().receive(replyFrame(2, {}));
  EXPECT_EQ(sentCodes(), std::vector<int>{1});
  lan2().receive(replyFrame(1, rxPayload("OK")));

  qx3().controls.qx3SetPar = std::string(39, '1');  // 42 characters
  qx3().SetStParClick();
  serial().GetTimeClick();
  EXPECT_EQ(sendNext().at(7), 6);
  EXPECT_EQ(shell().errorBar[1], "QX3 text of 42 characters not sent: at most 41 characters");
  EXPECT_FALSE(qx3().panelQuery());  // no answer is awaited for a text never sent
}

// "GetStPar" with VER: VER? and the end character; the reply to 2 fetches the
// answer at once (same port), shown in QX3Par up to its zero and in Memo3.
TEST_F(ClockSerialTest, Qx3QueryShowsTheModuleAnswer) {
  connectMain();
  qx3().controls.cmdList = itemOf("VER");
  qx3().GetStParClick();
  EXPECT_TRUE(qx3().panelQuery());
  EXPECT_EQ(requestParams(sendNext()), hex("02 56 45 52 3F 0D"));
  lan2().receive(replyFrame(2, {}));
  const Bytes fetch = lan2().takeWrite();
  ASSERT_FALSE(fetch.empty());
  EXPECT_EQ(fetch.at(7), 1);
  EXPECT_EQ(requestParams(fetch), hex("02"));
  Bytes answer = rxPayload("QX3 V1.07");
  answer[12] = 0x7E;  // past the zero: only in the hex lines
  lan2().receive(replyFrame(1, answer));
  EXPECT_FALSE(qx3().panelQuery());
  EXPECT_EQ(qx3().controls.qx3Par, "QX3 V1.07");
  const auto& memo = serial().controls.memo3;
  ASSERT_EQ(memo.size(), 18u);
  EXPECT_EQ(memo[0], "QX3 V1.07");
  EXPECT_EQ(memo[1], "");
  EXPECT_EQ(memo[2], "51  58  33  20  56  31  2E  30  37  00  00  00  7E  00  00  00  ");
  std::string zeros;
  for (int i = 0; i < 16; ++i) zeros += "00  ";
  EXPECT_EQ(memo[17], zeros);
  for (size_t i = 2; i < 18; ++i) EXPECT_EQ(memo[i].size(), 64u);
}

// "SetStPar": the letters and the value; a second query before the first is
// sent overwrites the text, so both requests carry the newer one.
TEST_F(ClockSerialTest, Qx3WriteAndASecondQueryOverwritingTheText) {
  connectMain();
  qx3().controls.cmdList = itemOf("UCW");
  qx3().controls.qx3SetPar = "2000";
  qx3().SetStParClick();
  EXPECT_EQ(requestParams(sendNext()), Bytes({2, 'U', 'C', 'W', '2', '0', '0', '0', 13}));
  lan2().receive(replyFrame(2, {}));
  lan2().receive(replyFrame(1, rxPayload("OK")));
  EXPECT_EQ(qx3().controls.qx3Par, "OK");
  lan2().writes.clear();

  qx3().controls.cmdList = itemOf("VER");
  qx3().GetStParClick();
  qx3().controls.cmdList = itemOf("SNB");
  qx3().GetStParClick();
  const Bytes snb{2, 'S', 'N', 'B', '?', 13};
  EXPECT_EQ(requestParams(sendNext()), snb);
  lan2().receive(replyFrame(2, {}));  // queues 1 behind the second 2
  EXPECT_EQ(requestParams(lan2().takeWrite()), snb);
  lan2().receive(replyFrame(2, {}));
  EXPECT_EQ(requestParams(lan2().takeWrite()), hex("02"));
  lan2().receive(replyFrame(1, rxPayload("123456")));
  EXPECT_EQ(qx3().controls.qx3Par, "123456");
  EXPECT_FALSE(qx3().panelQuery());
  EXPECT_EQ(requestParams(lan2().takeWrite()), hex("02"));  // the second answer: Memo3 only
  lan2().receive(replyFrame(1, rxPayload("second")));
  EXPECT_EQ(qx3().controls.qx3Par, "123456");
  EXPECT_EQ(serial().controls.memo3.at(0), "second");
}

// With no item chosen the panel's buttons do nothing, and the flag stays clear.
TEST_F(ClockSerialTest, Qx3WithNoItemChosenDoesNothing) {
  connectMain();
  qx3().GetStParClick();
  qx3().controls.qx3SetPar = "5";
  qx3().SetStParClick();
  EXPECT_FALSE(qx3().panelQuery());
  EXPECT_TRUE((device.channel.queue().size() == 0));
}

// While the flag is set the Comm group's "SetStr" sends the panel's text and
// its answer lands in QX3Par too.
TEST_F(ClockSerialTest, SetStrSendsThePanelTextWhileTheFlagIsSet) {
  connectMain();
  qx3().controls.cmdList = itemOf("IZA");
  qx3().GetStParClick();
  serial().controls.strDataSend = "mine";
  serial().SetStrClick();
  EXPECT_EQ(requestParams(sendNext()), Bytes({2, 'I', 'Z', 'A', '?', 13}));
  lan2().receive(replyFrame(2, {}));
  EXPECT_EQ(requestParams(lan2().takeWrite()), Bytes({2, 'I', 'Z', 'A', '?', 13}));
}

// A module answer that will not come (no reply to 2) clears the flag: the
// Comm group's next "SetStr" sends its own text again.
TEST_F(ClockSerialTest, LostModuleAnswerReleasesTheFlag) {
  connectMain();
  qx3().controls.cmdList = itemOf("VER");
  qx3().GetStParClick();
  sendNext();
  silence();
  silence();
  EXPECT_FALSE(qx3().panelQuery());
  lan2().writes.clear();
  serial().controls.strDataSend = "mine";
  serial().SetStrClick();
  EXPECT_EQ(requestParams(sendNext()), Bytes({2, 'm', 'i', 'n', 'e', 13}));

  qx3().GetStParClick();  // and a link that ends before the answer
  device.connection.LanOffClick();
  EXPECT_FALSE(qx3().panelQuery());
}

TEST_F(ClockSerialTest, SetTimeSendsThePcClockWhenTheRequestIsBuilt) {
  connectMain();
  seams.clockImpl.local = {2020, 1, 1, 0, 0, 0};
  serial().SetTimeClick();
  seams.clockImpl.local = {2024, 3, 7, 9, 5, 3};  // the clock when the request is built
  const Bytes frame = sendNext();
  EXPECT_EQ(frame.at(7), 5);
  Bytes expected = ascii("07032024");
  expected.push_back(0);
  for (uint8_t b : ascii("090503")) expected.push_back(b);
  expected.push_back(0);
  EXPECT_EQ(requestParams(frame), expected);
}

TEST_F(ClockSerialTest, ClockReplyIsShownAsTimeThenDate) {
  struct Case {
    Bytes payload;
    const char* shown;
    bool isShort;
  } cases[] = {
      {ascii("07032024090503"), "09:05:03 07-03-2024", false},
      {ascii("31122099235959xyz"), "23:59:59 31-12-2099", false},
      {ascii("0703202409"), "09:", true},  // the minutes never came
      {ascii("07"), "", true},
  };
  connectMain();
  for (const Case& c : cases) {
    int shortReplies = 0;
    Subscription<int, size_t, size_t> s(device.channel.onShortReply,
                                        [&](int, size_t, size_t) { ++shortReplies; });
    serial().GetTimeClick();
    sendNext();
    lan2().receive(replyFrame(6, c.payload));
    EXPECT_EQ(serial().controls.dateStr, c.shown);
    EXPECT_EQ(shortReplies, c.isShort ? 1 : 0) << c.shown;
  }
}

TEST_F(ClockSerialTest, ReceiveBufferStartingWithZeroGivesAnEmptyTextLine) {
  connectMain();
  Bytes p(kRxBufferBytes, 0);
  p[1] = 'A';
  p[255] = 0xFF;
  serial().GetRxClick();
  EXPECT_EQ(requestParams(sendNext()), hex("02"));
  lan2().receive(replyFrame(1, p));
  const auto& memo = serial().controls.memo3;
  ASSERT_EQ(memo.size(), 18u);
  EXPECT_EQ(memo[0], "");
  EXPECT_EQ(memo[1], "");
  EXPECT_EQ(memo[2].substr(0, 8), "00  41  ");
  EXPECT_EQ(memo[17].substr(60), "FF  ");
  EXPECT_EQ(qx3().controls.qx3Par, "");  // no query was asked
}

// A short buffer reply: missing bytes read as zero and the reply is reported.
TEST_F(ClockSerialTest, ShortReceiveBufferReadsZerosAndIsReported) {
  connectMain();
  serial().GetRxClick();
  sendNext();
  lan2().receive(replyFrame(1, ascii("OK")));
  EXPECT_EQ(serial().controls.memo3.at(0), "OK");
  EXPECT_EQ(serial().rxBuffer()[2], 0);
  EXPECT_EQ(shell().errorBar[1], "Short reply 1: 2 of 256 bytes");
}

// "Set0" then only "SetFS", then only "Set0" again; each sends its module command.
TEST_F(ClockSerialTest, Set0AndSetFSAlternate) {
  connectMain();
  serial().Set0Click();
  EXPECT_FALSE(serial().controls.set0Enabled);
  EXPECT_TRUE(serial().controls.setFSEnabled);
  serial().Set0Click();  // disabled: nothing
  EXPECT_EQ(device.channel.queue().size(), 1u);
  EXPECT_EQ(requestParams(sendNext()), hex("02 49 5A 41 0D"));
  lan2().receive(replyFrame(2, {}));
  serial().SetFSClick();
  EXPECT_TRUE(serial().controls.set0Enabled);
  EXPECT_FALSE(serial().controls.setFSEnabled);
  EXPECT_EQ(serial().controls.strDataSend, "IFA;NRP1");
  EXPECT_EQ(requestParams(sendNext()), Bytes({2, 'I', 'F', 'A', ';', 'N', 'R', 'P', '1', 13}));
  serial().SetFSClick();
  EXPECT_EQ(device.channel.queue().size(), 0u);
}

TEST_F(ClockSerialTest, PortAndEndCharacterOutOfRangeAreNotSent) {
  connectMain();
  serial().controls.portSel = 4;
  serial().GetRxClick();
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
  EXPECT_EQ(shell().errorBar[1], "Serial port 4: not sent, the ports are 0 to 3");
  serial().controls.portSel = 2;
  serial().controls.endCh = 0;
  serial().SetStrClick();
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
  EXPECT_EQ(shell().errorBar[1], "End character 0: not sent, it is 1 to 127");
  EXPECT_TRUE((device.channel.queue().size() == 0));
}

// A PC clock that gives no valid date and time is not sent to the device.
TEST_F(ClockSerialTest, SetTimeWithAnInvalidPcClockIsNotSent) {
  connectMain();
  seams.clockImpl.local = {2024, 13, 7, 9, 5, 3};
  serial().SetTimeClick();
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
  EXPECT_EQ(shell().errorBar[1], "Clock not set: the PC's time 2024-13-7 9:5:3 is not valid");
  seams.clockImpl.local = {10000, 1, 1, 0, 0, 0};  // five year digits would shift the time
  serial().SetTimeClick();
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
}
