#include "link/frame_reader.h"

#include <gtest/gtest.h>

#include "fakes.h"

using namespace vantor;
using vantor::test::hex;
using vantor::test::replyFrame;

namespace {

struct Recorder : FrameSink {
  std::vector<Bytes> good;
  std::vector<std::string> errors;
  std::vector<Bytes> heads;
  std::vector<std::optional<FrameCounters>> counters;
  void frameGood(ByteView f) override { good.emplace_back(f.begin(), f.end()); }
  void frameError(const std::string& text, ByteView head, std::optional<FrameCounters> c) override {
    errors.push_back(text);
    heads.emplace_back(head.begin(), head.end());
    counters.push_back(c);
  }
};

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace

TEST(FrameReader, ReplyCutAtEveryPositionArrivesOnceAndWhole) {
  const Bytes reply = replyFrame(51, Bytes(56, 0x5A));
  for (size_t cut = 1; cut < reply.size(); ++cut) {
    FrameReader reader;
    Recorder r;
    reader.feed(ByteView(reply).first(cut), 0, r);
    EXPECT_TRUE(r.good.empty()) << cut;
    reader.feed(ByteView(reply).subspan(cut), 10, r);
    ASSERT_EQ(r.good.size(), 1u) << "cut at " << cut;
    EXPECT_EQ(r.good[0], reply);
    EXPECT_TRUE(r.errors.empty()) << "cut at " << cut << ": " << r.errors[0];
    EXPECT_EQ(reader.pending(), 0u);
  }
}

TEST(FrameReader, ReplyFedByteByByteArrivesOnce) {
  const Bytes reply = replyFrame(70, hex("20 52 57 34 30 00"));
  FrameReader reader;
  Recorder r;
  for (uint8_t b : reply) reader.feed(Bytes{b}, 0, r);
  ASSERT_EQ(r.good.size(), 1u);
  EXPECT_EQ(r.good[0], reply);
}

TEST(FrameReader, SeveralRepliesInOneReadAreAllDispatchedInOrder) {
  const Bytes a = replyFrame(70, hex("41 42 00")), b = replyFrame(51, Bytes(56, 1)),
              c = replyFrame(82, {});
  FrameReader reader;
  Recorder r;
  reader.feed(cat({a, b, c}), 0, r);
  ASSERT_EQ(r.good.size(), 3u);
  EXPECT_EQ(r.good[0], a);
  EXPECT_EQ(r.good[1], b);
  EXPECT_EQ(r.good[2], c);
  EXPECT_TRUE(r.errors.empty());
}

TEST(FrameReader, GarbageBeforeAndBetweenFramesIsReportedOnceAndSkipped) {
  const Bytes a = replyFrame(51, Bytes(56, 1)), b = replyFrame(82, {});
  FrameReader reader;
  Recorder r;
  reader.feed(cat({hex("FF 00 13"), a, hex("55 AA"), b}), 0, r);
  ASSERT_EQ(r.good.size(), 2u);
  EXPECT_EQ(r.good[1], b);
  EXPECT_EQ(r.errors, (std::vector<std::string>{"NET_ERR_STX", "NET_ERR_STX"}));
  // Bytes that do not start a frame are shown as they arrived.
  EXPECT_EQ(r.heads[0], hex("FF 00 13"));
  EXPECT_EQ(r.heads[1], hex("55 AA"));
}

// Each check with its text, and a good frame right behind the bad one still arrives.
TEST(FrameReader, EachFailedCheckHasItsTextAndTheNextGoodFrameSurvives) {
  auto with = [](Bytes f, size_t at, uint8_t v) {
    f[at] = v;
    return f;
  };
  const Bytes good = replyFrame(51, Bytes(56, 3));
  const Bytes base = replyFrame(82, hex("10 20"));  // 14 bytes, ETX at 13
  struct Case {
    const char* name;
    Bytes bad;
    const char* text;
  } cases[] = {
      {"ids and idm swapped", with(with(base, 1, 0x01), 2, 0x00), "NET_ERR_NODE_TX"},
      {"wrong idm", with(base, 2, 0x02), "NET_ERR_NODE_RX"},
      {"ParNum 0", hex("02 00 01 00 01 00 00 33 00 35 03"), "NET_ERR_MSG_NUM_LOW"},
      {"no ETX", with(base, 13, 0x04), "NET_ERR_ETX"},
      {"CKL differs", with(base, 12, static_cast<uint8_t>(base[12] ^ 1)), "NET_ERR_CHK"},
      {"CKH differs", with(base, 11, static_cast<uint8_t>(base[11] + 1)), "NET_ERR_CHK"},
      {"NAK", replyFrame(82, hex("10 20"), 7, 0x15), "NAK"},
  };
  for (const Case& c : cases) {
    FrameReader reader;
    Recorder r;
    reader.feed(cat({c.bad, good}), 0, r);
    ASSERT_EQ(r.errors.size(), 1u) << c.name;
    EXPECT_EQ(r.errors[0], c.text) << c.name;
    EXPECT_EQ(r.heads[0], Bytes(c.bad.begin(), c.bad.begin() + 9)) << c.name;
    ASSERT_EQ(r.good.size(), 1u) << c.name;
    EXPECT_EQ(r.good[0], good) << c.name;
  }
}

TEST(FrameReader, StalePartialFrameIsDroppedSoTheLinkIsNotBlocked) {
  const Bytes reply = replyFrame(51, Bytes(56, 1));
  FrameReader reader;
  Recorder r;
  reader.feed(ByteView(reply).first(20), 0, r);
  reader.expire(999, r);
  EXPECT_TRUE(r.errors.empty());
  EXPECT_EQ(reader.pending(), 20u);
  reader.expire(1000, r);
  EXPECT_EQ(r.errors, std::vector<std::string>{"NET_ERR_LOWPAR"});
  EXPECT_EQ(reader.pending(), 0u);
  // The next reply is read on its own, not glued to the dropped bytes.
  reader.feed(reply, 1500, r);
  ASSERT_EQ(r.good.size(), 1u);
  EXPECT_EQ(r.good[0], reply);
}

TEST(FrameReader, PartialFrameTimesOutAlsoWhenTheNextReadComesLate) {
  // A frame announcing a huge ParNum would otherwise swallow the replies behind it.
  const Bytes reply = replyFrame(51, Bytes(56, 1));
  FrameReader reader;
  Recorder r;
  reader.feed(hex("02 00 01 00 05 0B B8 40 06"), 0, r);
  reader.feed(reply, 2000, r);
  EXPECT_EQ(r.errors, std::vector<std::string>{"NET_ERR_LOWPAR"});
  ASSERT_EQ(r.good.size(), 1u);
  EXPECT_EQ(r.good[0], reply);
}

// A header whose ParNum is damaged announces a frame far longer than what follows.
// When it expires only the damaged start is given up: the good reply that
// arrived behind it is handed on, whether it came in the same read or later.
TEST(FrameReader, AnExpiredDamagedHeaderGivesUpOnlyItselfAndTheReplyBehindItArrives) {
  const Bytes damaged = hex("02 00 01 00 05 40 00 33 06 01 02");
  const Bytes reply = replyFrame(51, Bytes(56, 1), 9);
  for (size_t split : {damaged.size(), damaged.size() + 5, damaged.size() + reply.size()}) {
    const Bytes all = cat({damaged, reply});
    FrameReader reader;
    Recorder r;
    reader.feed(ByteView(all).first(split), 0, r);
    reader.feed(ByteView(all).subspan(split), 10, r);
    EXPECT_TRUE(r.good.empty()) << split;
    reader.expire(1000, r);
    EXPECT_EQ(r.errors, std::vector<std::string>{"NET_ERR_LOWPAR"}) << split;
    ASSERT_TRUE(r.counters.at(0).has_value()) << split;
    EXPECT_EQ(r.counters[0]->replyCounter, 5);
    EXPECT_EQ(r.counters[0]->parNum, 0x4000);
    EXPECT_EQ(r.heads[0], Bytes(damaged.begin(), damaged.begin() + 9)) << split;
    ASSERT_EQ(r.good.size(), 1u) << split;
    EXPECT_EQ(r.good[0], reply);
    EXPECT_EQ(reader.pending(), 0u);
  }
}

TEST(FrameReader, ClearForgetsAPartialFrame) {
  FrameReader reader;
  Recorder r;
  reader.feed(hex("02 00 01 00"), 0, r);
  reader.clear();
  const Bytes reply = replyFrame(82, {});
  reader.feed(reply, 1, r);
  ASSERT_EQ(r.good.size(), 1u);
  EXPECT_TRUE(r.errors.empty());
}
