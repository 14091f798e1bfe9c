// The remote terminal: key presses of both keypads, the display read-back and
// its lock-step with the display terminal's keys.
#include <gtest/gtest.h>

#include "link_fixture.h"
#include "peripherals/terminal_keys.h"

using namespace vantor;
using namespace vantor::test;

namespace {

// A display of 16 slots, line i reading "Line i" unless given.
Bytes display(const std::vector<std::pair<size_t, std::string>>& lines = {}) {
  Bytes p(kDisplayBytes, 0);
  for (size_t i = 0; i < kDisplayLines; ++i) {
    const std::string text = "Line " + std::to_string(i);
    std::copy(text.begin(), text.end(), p.begin() + static_cast<long>(i * kDisplaySlot));
  }
  for (const auto& [line, text] : lines) {
    std::fill_n(p.begin() + static_cast<long>(line * kDisplaySlot), kDisplaySlot, 0);
    std::copy(text.begin(), text.end(), p.begin() + static_cast<long>(line * kDisplaySlot));
  }
  return p;
}

struct RemoteTerminalTest : LinkFixture {
  RemoteTerminal& terminal() { return device.terminal; }
  const TerminalKey& key(Keypad pad, const char* caption) {
    const TerminalKey* k = findKeyByCaption(pad, caption);
    EXPECT_NE(k, nullptr) << caption;
    return *k;
  }
  // Sends what is queued next and returns its frame.
  Bytes sendNext() {
    device.channel.sendNextCmd();
    return lan2().takeWrite();
  }
};

}  // namespace

TEST(TerminalKeys, TableHoldsEveryKeyWithItsCode) {
  struct Case {
    Keypad pad;
    const char* caption;
    const char* control;
    uint8_t code;
  } cases[] = {
      {Keypad::Qx7, "0", "Key_0", 0x30},     {Keypad::Qx7, "5", "Key_5", 0x35},
      {Keypad::Qx7, "9", "Key_9", 0x39},     {Keypad::Qx7, "Up", "Key_Up", 0x41},
      {Keypad::Qx7, "Dw", "Key_Dw", 0x42},   {Keypad::Qx7, "Lf", "Key_Lf", 0x43},
      {Keypad::Qx7, "Rg", "Key_Rg", 0x44},   {Keypad::Qx7, "Ent", "Key_Ent", 0x45},
      {Keypad::Qx7, "Bk", "Key_Back", 0x46}, {Keypad::Qx5, "F1", "QX5_F1", 1},
      {Keypad::Qx5, "F4", "QX5_F4", 4},      {Keypad::Qx5, "Bk", "QX5_Bk", 5},
      {Keypad::Qx5, "M", "QX5_M", 6},        {Keypad::Qx5, "Off", "QX5_Off", 7},
      {Keypad::Qx5, "Z", "QX5_0", 8},        {Keypad::Qx5, "T", "QX5_T", 9},
      {Keypad::Qx5, "Ent", "QX5_Ent", 10},
  };
  for (const Case& c : cases) {
    const TerminalKey* k = findKeyByCaption(c.pad, c.caption);
    ASSERT_NE(k, nullptr) << c.caption;
    EXPECT_STREQ(k->control, c.control);
    EXPECT_EQ(k->code, c.code) << c.control;
    EXPECT_EQ(findKeyByControl(c.control), k);
  }
  EXPECT_EQ(qx7Keys().size(), 16u);
  EXPECT_EQ(qx5Keys().size(), 10u);
  EXPECT_EQ(findKeyByCaption(Keypad::Qx7, "F1"), nullptr);
  EXPECT_EQ(findKeyByCaption(Keypad::Qx5, "5"), nullptr);
  // No two keys of a keypad share a place.
  for (const TerminalKey& a : terminalKeys())
    for (const TerminalKey& b : terminalKeys())
      if (&a != &b && a.pad == b.pad) {
        EXPECT_FALSE(a.row == b.row && a.column == b.column) << a.control << " " << b.control;
      }
}

TEST_F(RemoteTerminalTest, MemoStartsWithThePromptToReadTheDisplay) {
  const std::vector<std::string> start{"Apertar ReadDisplay", "", "Para Sincronizar com display ",
                                       "do QX7"};
  EXPECT_EQ(terminal().controls().memo4, start);
  EXPECT_TRUE(terminal().controls().keyPanelEnabled);
  EXPECT_FALSE(terminal().controls().qx5On);
}

// "5": command 4 with 0x35, the keypad grey; the key's reply asks for the
// display (command 3, no parameters); the display's reply fills 16 lines and
// the keypad is active again.
TEST_F(RemoteTerminalTest, DisplayKeyIsFollowedByADisplayReadInLockStep) {
  connectMain();
  EXPECT_TRUE(terminal().keyClick(key(Keypad::Qx7, "5")));
  EXPECT_FALSE(terminal().controls().keyPanelEnabled);
  // A second key while the first awaits its display does nothing.
  EXPECT_FALSE(terminal().keyClick(key(Keypad::Qx7, "6")));
  const Bytes press = sendNext();
  ASSERT_FALSE(press.empty());
  EXPECT_EQ(press.at(7), 4);
  EXPECT_EQ(requestParams(press), hex("35"));
  lan2().receive(replyFrame(4, {}));
  const Bytes read = lan2().takeWrite();
  ASSERT_FALSE(read.empty());
  EXPECT_EQ(read.at(7), 3);
  EXPECT_TRUE(requestParams(read).empty());
  EXPECT_FALSE(terminal().controls().keyPanelEnabled);
  lan2().receive(replyFrame(3, display()));
  EXPECT_TRUE(terminal().controls().keyPanelEnabled);
  ASSERT_EQ(terminal().controls().memo4.size(), 16u);
  for (size_t i = 0; i < 16; ++i)
    EXPECT_EQ(terminal().controls().memo4[i], "Line " + std::to_string(i));
  EXPECT_TRUE(lan2().writes.empty());  // the second key was never sent
}

TEST_F(RemoteTerminalTest, BackKeyCodeDependsOnTheKeypad) {
  connectMain();
  terminal().keyClick(key(Keypad::Qx7, "Bk"));
  EXPECT_EQ(requestParams(sendNext()), hex("46"));
  lan2().receive(replyFrame(4, {}));
  lan2().receive(replyFrame(3, display()));
  lan2().writes.clear();
  terminal().QX5_OnClick(true);
  terminal().keyClick(key(Keypad::Qx5, "Bk"));
  EXPECT_EQ(requestParams(sendNext()), hex("05"));
}

// With QX5_On checked a key's reply asks for nothing; keypad presses queued
// back to back each send their own key.
TEST_F(RemoteTerminalTest, KeypadKeysAreSentWithoutReadBackEachWithItsCode) {
  connectMain();
  terminal().QX5_OnClick(true);
  for (const char* caption : {"F1", "F2", "Z"}) terminal().keyClick(key(Keypad::Qx5, caption));
  EXPECT_TRUE(terminal().controls().keyPanelEnabled);  // the keypad leaves KeyPanel alone
  std::vector<Bytes> sent;
  sent.push_back(sendNext());
  for (int i = 0; i < 3; ++i) {
    lan2().receive(replyFrame(4, {}));
    sent.push_back(lan2().takeWrite());
  }
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(requestParams(sent[0]), hex("01"));
  EXPECT_EQ(requestParams(sent[1]), hex("02"));
  EXPECT_EQ(requestParams(sent[2]), hex("08"));
  EXPECT_TRUE(sent[3].empty());  // no display read after the last key either
  EXPECT_TRUE(terminal().pendingKeys().empty());
}

TEST_F(RemoteTerminalTest, DisplaySlotsEndAtZeroAndNeverShowTheirLastByte) {
  connectMain();
  Bytes p = display({{3, ""}});
  // Slot 5 without any zero byte: 31 letters; the 31st is never shown.
  std::fill_n(p.begin() + 5 * kDisplaySlot, kDisplaySlot, static_cast<uint8_t>('X'));
  p[5 * kDisplaySlot + 30] = 'Y';
  ask(3, p);
  const auto& memo = terminal().controls().memo4;
  ASSERT_EQ(memo.size(), 16u);
  EXPECT_EQ(memo[3], "");
  EXPECT_EQ(memo[5], std::string(30, 'X'));
  EXPECT_EQ(memo[6], "Line 6");  // the next slot is unaffected
  EXPECT_EQ(memo[2], "Line 2");
  EXPECT_TRUE(shell().errorBar[1].empty()) << shell().errorBar[1];
}

// A display reply shorter than 16 slots: what arrived is shown, the rest reads
// as empty lines, and the reply is reported short.
TEST_F(RemoteTerminalTest, ShortDisplayReplyShowsWhatArrivedAndIsReported) {
  connectMain();
  std::vector<std::tuple<int, size_t, size_t>> shortReplies;
  Subscription<int, size_t, size_t> s(
      device.channel.onShortReply,
      [&](int c, size_t have, size_t wanted) { shortReplies.emplace_back(c, have, wanted); });
  Bytes p = display();
  p.resize(2 * kDisplaySlot + 3);  // two slots and "Lin" of the third
  ask(3, p);
  const auto& memo = terminal().controls().memo4;
  ASSERT_EQ(memo.size(), 16u);
  EXPECT_EQ(memo[1], "Line 1");
  EXPECT_EQ(memo[2], "Lin");
  EXPECT_EQ(memo[15], "");
  ASSERT_EQ(shortReplies.size(), 1u);
  EXPECT_EQ(shortReplies[0], std::make_tuple(3, size_t{65}, size_t{496}));
  EXPECT_EQ(shell().errorBar[1], "Short reply 3: 65 of 496 bytes");
}

// A key whose reply never comes leaves the keypad grey; "ReadDisplay" and its
// reply bring it back.
TEST_F(RemoteTerminalTest, ReadDisplayRecoversTheKeypadAfterALostReply) {
  connectMain();
  terminal().keyClick(key(Keypad::Qx7, "Up"));
  EXPECT_EQ(requestParams(sendNext()), hex("41"));
  silence();
  silence();  // sent twice, no reply
  EXPECT_FALSE(terminal().controls().keyPanelEnabled);
  lan2().writes.clear();
  terminal().Button4Click();
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{3});
  lan2().receive(replyFrame(3, display()));
  EXPECT_TRUE(terminal().controls().keyPanelEnabled);
}

TEST_F(RemoteTerminalTest, DisplayIsNotCurrentOnceTheLinkEnds) {
  connectMain();
  ask(3, display());
  EXPECT_TRUE(terminal().controls().displayCurrent);
  device.connection.LanOffClick();
  EXPECT_FALSE(terminal().controls().displayCurrent);
  EXPECT_EQ(terminal().controls().memo4[0], "Line 0");  // the last screen stays, greyed
}
