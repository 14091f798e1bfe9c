#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

using CommandChannelTest = LinkFixture;

TEST_F(CommandChannelTest, ConnectQueuesVersionThenStatusAndSendsVersionAtOnce) {
  device.channel.queueCmd(33);  // left over from before: the connect empties the queue
  device.connection.controls.host = "127.0.0.9";
  device.connection.LanOnClick();
  EXPECT_EQ(lan2().host, "127.0.0.9");
  EXPECT_EQ(lan2().port, 47000);
  lan2().connect();
  ASSERT_EQ(lan2().writes.size(), 1u);
  EXPECT_EQ(lan2().writes[0], hex("02 00 01 00 01 00 00 46 00 48 03"));
  EXPECT_EQ(device.channel.queue().size(), 1u);
  EXPECT_EQ(device.channel.queue().at(0), 51);
  lan2().writes.clear();
  // The version reply sends the status request right away.
  lan2().receive(replyFrame(70, hex("41 42 00")));
  EXPECT_EQ(sentCodes(), std::vector<int>{51});
}

TEST_F(CommandChannelTest, RepeatedClicksAreAllSentInOrderAndAFullQueueDropsSilently) {
  connectMain();
  device.channel.clearQueue();
  for (int i = 0; i < 3; ++i) device.channel.queueCmd(52);
  for (int i = 0; i < 97; ++i) device.channel.queueCmd(16);
  device.channel.queueCmd(82);  // the 101st: lost
  EXPECT_EQ(device.channel.queue().size(), 100u);
  std::vector<int> codes;
  for (int i = 0; i < 100; ++i) {
    device.channel.sendNextCmd();
    const Bytes request = lan2().takeWrite();
    ASSERT_FALSE(request.empty()) << i;
    codes.push_back(request[7]);
    lan2().receive(replyFrame(request[7], {}));  // the reply sends the next at once
  }
  ASSERT_EQ(codes.size(), 100u);
  EXPECT_EQ(codes[0], 52);
  EXPECT_EQ(codes[2], 52);
  EXPECT_EQ(codes[3], 16);
  EXPECT_EQ(codes[99], 16);
  device.channel.sendNextCmd();  // empty queue: nothing goes out
  EXPECT_TRUE(lan2().writes.empty());
}

TEST_F(CommandChannelTest, EachReplyChainsTheNextRequestEvenForUnhandledCodes) {
  connectMain();
  device.channel.clearQueue();
  device.channel.queueCmd(82);
  device.channel.queueCmd(16);
  device.channel.sendNextCmd();
  EXPECT_EQ(lan2().takeWrite(), hex("02 00 01 00 03 00 00 52 00 56 03"));
  lan2().receive(replyFrame(82, {}));  // no handler: no effect but the chain
  EXPECT_EQ(sentCodes(), std::vector<int>{16});
  EXPECT_EQ(shell().errorBar[1], "");
}

TEST_F(CommandChannelTest, SendingWhileDisconnectedConsumesTheCommand) {
  device.channel.queueCmd(51);
  device.channel.sendNextCmd();
  EXPECT_EQ(device.channel.queue().size(), 0u);
  EXPECT_EQ(lan2().droppedWrites, 1);
}

// Only the reply that is awaited is dispatched: a good frame with another code, or
// when nothing is awaited, is stale or foreign. It is counted and logged, it does not
// flash the indicators, and it does not send the next request.
TEST_F(CommandChannelTest, OnlyTheAwaitedReplyIsDispatchedAndOthersAreCountedAsUnsolicited) {
  connectMain();
  cmdTime().fire();
  lan2().receive(replyFrame(70, hex("41 42 00")));  // nothing awaited
  EXPECT_EQ(shell().statusBar[0], "Rev");
  device.channel.queueCmd(52);
  device.channel.queueCmd(82);
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{52});
  device.channel.sendNextCmd();  // a poll tick while 52 awaits its reply sends nothing
  EXPECT_TRUE(sentCodes().empty());
  lan2().receive(replyFrame(51, Bytes(56, 0)));
  EXPECT_EQ(device.channel.unsolicitedCount(), 2u);
  EXPECT_EQ(shell().memo1.back(), "Unsolicited reply 51");
  EXPECT_EQ(shell().debFl, Colour::ButtonFace);
  EXPECT_EQ(device.channel.awaitedCode(), 52);
  lan2().receive(replyFrame(52, Bytes(120, 0)));
  EXPECT_EQ(shell().debFl, Colour::Green);
  EXPECT_EQ(sentCodes(), std::vector<int>{82});
}

// A reply that fails its checks sends the request once more at once; a second bad
// reply ends it. NAK ends it at once, as does a reply with code 0 ("lixo"). In
// every case the owner is told and the queue goes on.
TEST_F(CommandChannelTest, BadRepliesAreRetriedOnceAndRefusalsEndTheRequest) {
  struct Owner : CommandFeature {
    std::vector<std::pair<int, RequestEnd>> ended;
    void requestEnded(int code, RequestEnd end) override { ended.push_back({code, end}); }
  } owner;
  device.channel.bindRequest(35, &owner);
  device.channel.bindReply(35, nullptr);  // only the owner's request is under test
  auto damaged = [](Bytes f) {
    f[f.size() - 2] ^= 0xFF;
    return f;
  };
  const Bytes good = replyFrame(35, hex("01 02"));
  struct Case {
    const char* name;
    std::vector<Bytes> replies;
    std::vector<int> sent;  // after the first sending
    std::optional<RequestEnd> end;
    const char* error;
  } cases[] = {
      {"one bad then good", {damaged(good), good}, {35, 82}, std::nullopt, "NET_ERR_CHK"},
      {"two bad", {damaged(good), damaged(good)}, {35, 82}, RequestEnd::BadReply, "NET_ERR_CHK"},
      {"nak", {replyFrame(35, {}, 7, 0x15)}, {82}, RequestEnd::Refused, "NAK"},
      {"code 0", {replyFrame(0, {})}, {82}, RequestEnd::Refused, "lixo"},
  };
  for (const Case& c : cases) {
    connectMain();
    owner.ended.clear();
    shell().errorBar[1].clear();
    device.channel.queueCmd(35);
    device.channel.queueCmd(82);
    device.channel.sendNextCmd();
    const Bytes first = lan2().takeWrite();
    for (const Bytes& r : c.replies) lan2().receive(r);
    std::vector<int> sent;
    for (const Bytes& w : lan2().writes) sent.push_back(w[7]);
    EXPECT_EQ(sent, c.sent) << c.name;
    if (sent.size() == 2) {
      EXPECT_EQ(lan2().writes[0], first) << c.name << ": the same bytes again";
    }
    lan2().writes.clear();
    if (c.end) {
      ASSERT_EQ(owner.ended.size(), 1u) << c.name;
      EXPECT_EQ(owner.ended[0].second, *c.end) << c.name;
    } else {
      EXPECT_TRUE(owner.ended.empty()) << c.name;
    }
    EXPECT_EQ(shell().errorBar[1], c.error) << c.name;
    lan2().receive(replyFrame(82, {}));
    lan2().fail();
    reconnect().fire();
  }
}

// Silence: the request is sent once more after the reply timeout; a second silence
// ends it with "No reply to command N". After a repeat caused by silence, the first
// sending's reply may still come late, so the queue waits for the second answer (or
// one more timeout) and never takes it for the next request's reply.
TEST_F(CommandChannelTest, SilenceIsRetriedOnceAndALateSecondAnswerIsNeverTakenForTheNext) {
  connectMain();
  EXPECT_EQ(replyTim().interval(), 250);  // the clock is looked at four times per timeout
  device.channel.queueCmd(64);
  device.channel.queueCmd(64);
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{64});
  seams.clockImpl.nowMs += 999;
  replyTim().fire();
  EXPECT_TRUE(sentCodes().empty());  // not yet a timeout
  seams.clockImpl.nowMs += 1;
  replyTim().fire();
  EXPECT_EQ(sentCodes(), std::vector<int>{64});  // once more
  lan2().receive(replyFrame(64, hex("01")));     // the late first answer, dispatched
  EXPECT_TRUE(sentCodes().empty());              // the queue waits for the second
  lan2().receive(replyFrame(64, hex("02")));     // swallowed, not the next request's
  EXPECT_EQ(shell().memo1.back(), "Second reply ignored 64");
  EXPECT_EQ(sentCodes(), std::vector<int>{64});
  // No second answer comes this time: after its wait the queue goes on.
  silence();
  EXPECT_EQ(sentCodes(), std::vector<int>{64});
  lan2().receive(replyFrame(64, hex("03")));
  EXPECT_TRUE(sentCodes().empty());
  device.channel.queueCmd(82);
  // A steadily slow device answers the second sending one timeout after the
  // first answer: the wait for it is twice a timeout, so it is not cut off then.
  silence();
  EXPECT_TRUE(sentCodes().empty());
  silence();
  EXPECT_EQ(sentCodes(), std::vector<int>{82});
  // Two silences end the request.
  silence();
  EXPECT_EQ(sentCodes(), std::vector<int>{82});
  silence();
  EXPECT_EQ(shell().errorBar[1], "No reply to command 82");
  EXPECT_FALSE(device.channel.awaitedCode().has_value());
  replyTim().fire();
  EXPECT_FALSE(replyTim().enabled());  // nothing awaited: the timer rests
}

TEST_F(CommandChannelTest, ReadoutsShowTheLastRequestAndReply) {
  connectMain();
  const Readouts& r = device.channel.readouts();
  EXPECT_EQ(r.protMaster, "02  00  01  00  02  00  00  33  ..  ..  00  36  03  ");
  EXPECT_EQ(r.msComPr, "     2      0");
  device.channel.queueCmd(70);
  device.channel.sendNextCmd();
  const Bytes reply = replyFrame(70, hex("41 42 00"), 0x0102);
  lan2().receive(reply);
  EXPECT_EQ(r.slComPr, "   258      4");
  EXPECT_EQ(r.comProt,
            "02  00  01  01  02  00  04  46  06  ..  " + hexGroups(ByteView(reply).last(3)));
  // A rejected reply shows what arrived of its head, and its counters once read.
  device.channel.queueCmd(51);
  device.channel.sendNextCmd();
  Bytes nak = replyFrame(51, {1, 2}, 5, 0x15);
  lan2().receive(nak);
  EXPECT_EQ(r.comProt, "02  00  01  00  05  00  03  33  15  ");
  EXPECT_EQ(r.slComPr, "     5      3");
  EXPECT_EQ(shell().errorBar[1], "NAK");
}

TEST_F(CommandChannelTest, GoodReplyFlashesTheIndicatorsGreenUntilTheResetTick) {
  connectMain();
  cmdTime().fire();
  device.channel.queueCmd(70);
  device.channel.sendNextCmd();
  lan2().receive(replyFrame(70, hex("41 00")));
  EXPECT_EQ(shell().debFl, Colour::Green);
  EXPECT_EQ(shell().slFl, Colour::Green);
  EXPECT_TRUE(cmdTime().enabled());
  cmdTime().fire();
  EXPECT_EQ(shell().debFl, Colour::ButtonFace);
  EXPECT_EQ(shell().slFl, Colour::ButtonFace);
  EXPECT_FALSE(cmdTime().enabled());
}

TEST_F(CommandChannelTest, OversizedRequestIsRefusedWithAClearErrorAndTheQueueGoesOn) {
  connectMain();
  device.channel.clearQueue();
  device.channel.requestOverride = [](int code, RequestWriter& out) {
    if (code != 63) return false;
    out.putBytes(Bytes(3000, 0));
    return true;
  };
  device.channel.queueCmd(63);
  device.channel.queueCmd(82);
  device.channel.sendNextCmd();
  EXPECT_TRUE(lan2().writes.empty());
  EXPECT_EQ(shell().errorBar[1], "Command 63: request larger than 2989 bytes refused");
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{82});
}

TEST(CommandCatalogue, EveryCodeHasOneRowAndTheRowsCoverTheHandledReplies) {
  std::set<int> seen;
  for (const CommandRow& row : commandCatalogue()) {
    EXPECT_TRUE(seen.insert(row.code).second) << "code " << row.code << " twice";
    EXPECT_LT(row.code, 128);
  }
  for (int code : {0,  1,  2,  3,  4,  6,  12, 14, 16, 17, 18, 21, 22, 24, 31, 33, 34,
                   35, 36, 38, 41, 42, 43, 45, 50, 51, 52, 60, 61, 62, 63, 64, 69, 70,
                   5,  10, 11, 15, 19, 20, 23, 25, 30, 32, 37, 39, 40, 44, 46, 53, 82})
    EXPECT_NE(findCommand(code), nullptr) << code;
  EXPECT_EQ(findCommand(99), nullptr);
}

namespace {
struct Thrower : CommandFeature {
  void buildRequest(int, RequestWriter&) override { throw std::runtime_error("'x' is no number"); }
  void handleReply(int, PayloadReader&) override { throw 42; }
};
struct Watcher : CommandFeature {
  std::vector<uint8_t> seen;
  void handleReply(int, PayloadReader& in) override { seen.push_back(in.u8(0)); }
};
}  // namespace

// Nothing a builder or a handler throws leaves the channel: the request is not sent,
// its reason is shown, and the queue and the reply chain go on.
TEST_F(CommandChannelTest, WhateverABuilderOrHandlerThrowsEndsOnlyThatRequestOrReply) {
  connectMain();
  device.channel.clearQueue();
  Thrower thrower;
  device.channel.bindRequest(20, &thrower);
  device.channel.bindReply(35, &thrower);
  device.channel.queueCmd(20);
  device.channel.queueCmd(82);
  EXPECT_NO_THROW(device.channel.sendNextCmd());
  EXPECT_EQ(shell().errorBar[1], "'x' is no number");
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{82});
  lan2().receive(replyFrame(82, {}));
  device.channel.queueCmd(35);
  device.channel.queueCmd(51);
  device.channel.sendNextCmd();
  sentCodes();
  EXPECT_NO_THROW(lan2().receive(replyFrame(35, hex("01"))));
  EXPECT_EQ(shell().errorBar[1], "Reply 35 could not be handled");
  EXPECT_EQ(sentCodes(), std::vector<int>{51});
}

TEST_F(CommandChannelTest, AnObserverReadsAReplyItDoesNotOwnAfterItsHandler) {
  connectMain();
  Watcher first, second;
  device.channel.observeReply(70, &first);
  device.channel.observeReply(70, &second);
  device.channel.queueCmd(70);
  device.channel.sendNextCmd();
  lan2().receive(replyFrame(70, hex("20 52 57 34 30 00")));
  EXPECT_EQ(shell().statusBar[0], " RW40");  // the owner still handled it
  EXPECT_EQ(first.seen, std::vector<uint8_t>{0x20});
  EXPECT_EQ(second.seen, std::vector<uint8_t>{0x20});
}
