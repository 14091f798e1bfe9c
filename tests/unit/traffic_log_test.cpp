// The main port's traffic log.
#include <gtest/gtest.h>

#include <algorithm>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

namespace {

struct TrafficLogTest : LinkFixture {
  TrafficLog& log = device.traffic;
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (size_t i = 0; i < log.size(); ++i) out.push_back(TrafficLog::line(log[i]));
    return out;
  }
};

}  // namespace

TEST_F(TrafficLogTest, RequestsAndFramesGoodOrRejectedWithTimeAndVerdict) {
  // The fake clock stood at 10:59:00 and 1000 ms when the device was made.
  connectMain();
  log.clear();
  seams.clockImpl.nowMs += 61234;
  device.memoryAccess.RD_RAMClick();
  device.channel.sendNextCmd();
  lan2().receive(replyFrame(12, hex("01 02 03 04"), 9));
  Bytes bad = replyFrame(12, hex("01 02 03 04"), 9);
  bad[bad.size() - 2] ^= 1;
  lan2().receive(bad);
  const auto l = lines();
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0].substr(0, 20), "11:00:01.234 TX  12 ");
  EXPECT_EQ(l[1],
            "11:00:01.234 RX  12 " + hexSpaced(replyFrame(12, hex("01 02 03 04"), 9)) + " [ok]");
  EXPECT_EQ(l[2].substr(0, 16), "11:00:01.234 RX ");
  EXPECT_EQ(l[2].back(), ']');
  EXPECT_EQ(l[2].find("[ok]"), std::string::npos);
  EXPECT_EQ(log.text().substr(0, l[0].size() + 2), l[0] + "\r\n");
}

TEST_F(TrafficLogTest, UserAccountPayloadsAreNeverKept) {
  connectMain();
  log.clear();
  Bytes secret(200, 'P');
  device.channel.requestOverride = [&](int code, RequestWriter& out) {
    if (code != 39) return false;
    out.putBytes(secret);
    return true;
  };
  device.channel.queueCmd(39);
  device.channel.sendNextCmd();
  lan2().receive(replyFrame(39, Bytes(60, 'Q')));
  ASSERT_EQ(log.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(std::count(log[i].shown.begin(), log[i].shown.end(), 'P'), 0);
    EXPECT_EQ(std::count(log[i].shown.begin(), log[i].shown.end(), 'Q'), 0);
  }
  EXPECT_NE(TrafficLog::line(log[0]).find("(200 bytes, not shown)"), std::string::npos);
  EXPECT_NE(TrafficLog::line(log[1]).find("(60 bytes, not shown)"), std::string::npos);
}

TEST_F(TrafficLogTest, RingKeepsTheNewestAndPauseRecordsNothing) {
  connectMain();
  const size_t before = log.total();
  log.setPaused(true);
  device.memoryAccess.RD_RAMClick();
  device.channel.sendNextCmd();
  lan2().receive(replyFrame(12, hex("01 02 03 04")));
  EXPECT_EQ(log.total(), before);
  log.setPaused(false);
  for (size_t i = 0; i < TrafficLog::kCapacity; ++i) ask(12, hex("01 02 03 04"));
  EXPECT_EQ(log.size(), TrafficLog::kCapacity);
  EXPECT_EQ(log.total(), before + 2 * TrafficLog::kCapacity);
  EXPECT_TRUE(log[log.size() - 1].verdict == "ok");
}
