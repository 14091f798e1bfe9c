// The event-log download: 69, then 501 blocks of 21, then the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "link_fixture.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

namespace {

constexpr uint32_t kBase = 0x20010000;

struct EventLogTest : LinkFixture {
  TempDir dir;
  Bytes area = Bytes(kLogImageBytes, 0);
  std::vector<int> progress;  // ProgressBarLog as each block request goes out

  EventLogTest() {
    device.eventLog.setDataDir(dir.file("data") + "/");
    connectMain();
    device.connection.controls.host = "127.0.0.180";
    ask(70, bytesOf("SIM RW4000 8.10"));
    shell().statusBar[0] = "params.txt saved";  // panel 0 shows a file message now
    setEvents({{0, 3723456}, {6, 1000}});
  }
  static Bytes bytesOf(const std::string& s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
  }
  void setEvents(const std::vector<std::pair<uint8_t, uint32_t>>& events) {
    const uint32_t end = kBase + 12 + static_cast<uint32_t>(events.size());
    for (int k = 0; k < 4; ++k) area[4 + k] = static_cast<uint8_t>(end >> (8 * k));
    for (size_t i = 0; i < events.size(); ++i) {
      area[12 + i] = events[i].first;
      for (int k = 0; k < 4; ++k)
        area[100012 + 4 * i + k] = static_cast<uint8_t>(events[i].second >> (8 * k));
    }
  }
  // Answers block requests like the device until `blocks` were served or none is asked.
  int serveBlocks(int blocks = 1000) {
    int served = 0;
    for (; served < blocks; ++served) {
      device.channel.sendNextCmd();
      Bytes w = lan2().takeWrite();
      if (w.empty() || w.at(7) != 21) break;
      progress.push_back(device.eventLog.controls.progressBarLog);
      const uint32_t addr = w[8] | w[9] << 8 | w[10] << 16 | uint32_t{w[11]} << 24;
      const size_t off = addr - kBase;
      lan2().receive(replyFrame(21, Bytes(area.begin() + off, area.begin() + off + 1000)));
    }
    return served;
  }
  void start() {
    device.eventLog.GetLogClick();
    device.channel.sendNextCmd();
    ASSERT_EQ(sentCodes(), std::vector<int>{69});
    lan2().receive(replyFrame(69, hex("00 00 01 20 00 00 00 00")));
  }
  std::string logFile() { return readWhole(dir.file("data/RW4000 Vantor8.10.log")); }
};

}  // namespace

TEST_F(EventLogTest, DownloadsAllBlocksInOrderAndWritesTheFile) {
  start();
  EXPECT_EQ(serveBlocks(), 501);
  // Progress 0 as block 1 goes out, 500 when the last is requested...
  ASSERT_EQ(progress.size(), 501u);
  for (int i = 0; i < 501; ++i) ASSERT_EQ(progress[i], i);
  // ... and not moved by the last block.
  EXPECT_EQ(device.eventLog.controls.progressBarLog, 500);
  EXPECT_FALSE(device.eventLog.controls.downloading);
  EXPECT_EQ(shell().memo1.back(), "LOG done");
  // The heading names the device by its version reply, not by StatusBar panel 0.
  EXPECT_EQ(logFile(),
            "SIM RW4000 8.10\tIP:127.0.0.180\r\nN LOG: 2\r\n"
            "     0\tID:00\tTime: 1: 2: 3.456\t***RESET***\r\n"
            "     1\tID:06\tD: 0 T: 1:02:04.456\t\t\tPeso\r\n");
}

TEST_F(EventLogTest, ProgressTextCountsBlocksWithAnEstimate) {
  start();
  EXPECT_EQ(device.eventLog.controls.progressText, "block 1 of 501");
  for (int i = 0; i < 100; ++i) {
    seams.clockImpl.nowMs += 10;
    serveBlocks(1);
  }
  // 100 blocks in 1 s: 401 more take 4.01 s, shown rounded up.
  EXPECT_EQ(device.eventLog.controls.progressText, "block 101 of 501, ETA 0:05");
}

TEST_F(EventLogTest, BlocksNobodyAskedForNeverReachTheImage) {
  // No download runs: a block is ignored.
  device.channel.queueCmd(21);
  device.channel.sendNextCmd();
  lan2().writes.clear();
  lan2().receive(replyFrame(21, Bytes(1000, 0xAB)));
  EXPECT_EQ(device.eventLog.blocksReceived(), 0u);
  EXPECT_EQ(device.eventLog.image()[0], 0);
  // After the 501st block a further one is ignored too.
  start();
  serveBlocks();
  ASSERT_EQ(device.eventLog.blocksReceived(), 501u);
  const Bytes before = device.eventLog.image();
  device.channel.queueCmd(21);
  device.channel.sendNextCmd();
  lan2().writes.clear();
  lan2().receive(replyFrame(21, Bytes(1000, 0xCD)));
  EXPECT_EQ(device.eventLog.blocksReceived(), 501u);
  EXPECT_EQ(device.eventLog.image(), before);
}

TEST_F(EventLogTest, GetLogDuringADownloadStartsAfresh) {
  start();
  serveBlocks(10);
  // Block 11 is awaited when "Get LOG" is pressed again: once it is answered
  // the base address is asked for, and everything starts from block 1.
  device.eventLog.GetLogClick();
  ASSERT_EQ(sentCodes(), std::vector<int>{21});
  lan2().receive(replyFrame(21, Bytes(1000, 0xEE)));
  ASSERT_EQ(sentCodes(), std::vector<int>{69});
  lan2().receive(replyFrame(69, hex("00 00 01 20 00 00 00 00")));
  EXPECT_EQ(device.eventLog.blocksReceived(), 0u);
  EXPECT_EQ(device.eventLog.controls.progressBarLog, 0);
  // Each request names its block when it is sent, so the block request
  // queued before the restart reads block 1; one request more than blocks
  // goes out, and its answer is ignored.
  EXPECT_EQ(serveBlocks(), 502);
  EXPECT_EQ(device.eventLog.blocksReceived(), 501u);
  EXPECT_EQ(shell().memo1.back(), "LOG done");
  EXPECT_NE(logFile().find("N LOG: 2\r\n"), std::string::npos);
  EXPECT_EQ(std::count(device.eventLog.image().begin(), device.eventLog.image().end(), 0xEE), 0);
}

TEST_F(EventLogTest, AFileThatCannotBeCreatedIsSaidAndTheImageKeptForARetry) {
  // The data directory's place is taken by a file: it cannot be made either.
  writeWhole(dir.file("blocker"), "x");
  device.eventLog.setDataDir(dir.file("blocker") + "/");
  start();
  serveBlocks();
  const std::string path = dir.file("blocker") + "/RW4000 Vantor8.10.log";
  const std::string& said = shell().memo1.back();
  EXPECT_EQ(said.rfind("Cannot create " + path + ": ", 0), 0u) << said;
  EXPECT_EQ(shell().statusBar[0], said);
  EXPECT_EQ(device.eventLog.controls.progressText, said);
  // Once the file can be written, the kept image is written without a new download.
  device.eventLog.setDataDir(dir.file("data") + "/");
  EXPECT_TRUE(device.eventLog.writeFile());
  EXPECT_EQ(logFile().substr(0, 15), "SIM RW4000 8.10");
  EXPECT_NE(logFile().find("N LOG: 2\r\n"), std::string::npos);
}

TEST_F(EventLogTest, MissingDataDirectoryIsMade) {
  device.eventLog.setDataDir(dir.file("a/b") + "/");
  start();
  serveBlocks();
  EXPECT_EQ(shell().memo1.back(), "LOG done");
  EXPECT_TRUE(std::filesystem::exists(dir.file("a/b/RW4000 Vantor8.10.log")));
}

TEST_F(EventLogTest, AShortOrLostBlockStopsTheDownloadAndSaysWhere) {
  start();
  serveBlocks(3);
  device.channel.sendNextCmd();
  lan2().writes.clear();
  lan2().receive(replyFrame(21, Bytes(600, 0)));
  EXPECT_FALSE(device.eventLog.controls.downloading);
  EXPECT_EQ(shell().memo1.back(), "LOG stopped: block 4 of 501 was short (600 of 1000 bytes)");
  EXPECT_EQ(shell().errorBar[1], "Short reply 21: 600 of 1000 bytes");
  EXPECT_TRUE(sentCodes().empty());  // no further block is asked for

  start();
  serveBlocks(2);
  device.channel.sendNextCmd();
  silence();
  silence();
  EXPECT_FALSE(device.eventLog.controls.downloading);
  EXPECT_EQ(shell().memo1.back(), "LOG stopped at block 3 of 501: no reply");
}
