#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

using LiveStatusTest = LinkFixture;

TEST_F(LiveStatusTest, VersionWithTheModelPrefixQueuesTheTableList) {
  struct Case {
    const char* text;
    bool queues;
  } cases[] = {
      {" RW40 8.10", true}, {" RW4000", true}, {"RW40 8.10", false}, {" RW4", false}, {"", false}};
  for (const Case& c : cases) {
    device.channel.clearQueue();
    Bytes payload(c.text, c.text + std::strlen(c.text));
    payload.push_back(0);
    PayloadReader reader(payload);
    device.liveStatus.handleReply(70, reader);
    EXPECT_EQ(shell().statusBar[0], c.text);
    EXPECT_EQ(device.channel.queue().size(), c.queues ? 1u : 0u) << c.text;
    if (c.queues) {
      EXPECT_EQ(device.channel.queue().at(0), 62);
    }
  }
}

TEST_F(LiveStatusTest, VersionTextEndsAtZeroOrAtThePayloadEnd) {
  connectMain();
  ask(70, hex("41 42 00 43"));
  EXPECT_EQ(shell().statusBar[0], "AB");
  ask(70, hex("58 59"));
  EXPECT_EQ(shell().statusBar[0], "XY");
  ask(70, {});
  EXPECT_EQ(shell().statusBar[0], "");
}

TEST_F(LiveStatusTest, StatusFieldsAreDecodedAndShownExactly) {
  connectMain();
  Bytes p(56, 0);
  p[0] = 1, p[1] = 2, p[2] = 3, p[3] = 250;
  p[4] = 0x10, p[5] = 0x27;                              // T = 10000
  p[8] = 0xFF, p[9] = 0xFF, p[10] = 0xFF, p[11] = 0xFF;  // Ls = 4294967295
  p[12] = 200, p[13] = 7;
  p[14] = 20, p[15] = 200;  // beyond the menus: the last items
  p[16] = 0xAB, p[17] = 0x0C, p[18] = 0, p[19] = 0x10;
  for (int i = 20; i < 24; ++i) p[static_cast<size_t>(i)] = 0xFF;  // -1
  p[24] = 0xE8, p[25] = 0x03;                                      // 1000
  p[44] = 0xFF, p[45] = 0xFF;
  for (int i = 46; i < 50; ++i) p[static_cast<size_t>(i)] = 0xFF;
  p[52] = 0xAB, p[53] = 0x01, p[54] = 0, p[55] = 0x7F;
  ask(51, p);
  const LiveStatusFields& f = device.liveStatus.fields();
  EXPECT_EQ(shell().statusBar[1], "Ls 4294967295 T 10000 Rs 200 St 7");
  EXPECT_EQ(f.comStat, "1 2 3 250");
  EXPECT_EQ(f.port2, "AB C 0 10");
  EXPECT_EQ(f.peso, "-1 1000 0 0 0 0");
  EXPECT_EQ(f.timPes, "65535");
  EXPECT_EQ(f.lastWeighingTime, 65535);
  EXPECT_EQ(f.errorApp, "4294967295");
  EXPECT_EQ(f.webDeb, "ab 1 0 7f");
  EXPECT_EQ(f.lnMenu, 13);
  EXPECT_EQ(f.brMenu, 5);
  EXPECT_EQ(shell().errorBar[1], "");
}

TEST_F(LiveStatusTest, ShortStatusReadsMissingBytesAsZeroAndSaysSo) {
  connectMain();
  Bytes p(40, 0);
  p[4] = 5;
  p[20] = 9;
  std::vector<std::array<size_t, 3>> told;
  device.channel.onShortReply.connect([&](int code, size_t have, size_t wanted) {
    told.push_back({size_t(code), have, wanted});
  });
  ask(51, p);
  EXPECT_EQ(told, (std::vector<std::array<size_t, 3>>{{51, 40, 56}}));
  EXPECT_EQ(shell().statusBar[1], "Ls 0 T 5 Rs 0 St 0");
  EXPECT_EQ(device.liveStatus.fields().peso, "9 0 0 0 0 0");
  EXPECT_EQ(device.liveStatus.fields().errorApp, "0");
  EXPECT_EQ(shell().errorBar[1], "Short reply 51: 40 of 56 bytes");
  // A longer status is fine: only the first 56 bytes are read.
  shell().errorBar[1].clear();
  ask(51, Bytes(80, 0));
  EXPECT_EQ(told.size(), 1u);
  EXPECT_EQ(shell().errorBar[1], "");
}

TEST_F(LiveStatusTest, ReplyCodeZeroIsReportedAsAnUnusableExchange) {
  connectMain();
  device.channel.queueCmd(51);
  device.channel.sendNextCmd();
  lan2().receive(replyFrame(0, {}));  // the device's answer to a request it could not use
  EXPECT_EQ(shell().errorBar[1], "lixo");
}
