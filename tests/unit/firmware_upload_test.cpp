// The firmware window's logic against a fake socket: the boot loader's
// conversation byte for byte, from the application to the boot loader and back.
#include "firmware/firmware_upload.h"

#include <gtest/gtest.h>

#include "../support/hex_image.h"
#include "fakes.h"
#include "firmware/call_fw.h"
#include "link_fixture.h"
#include "temp_dir.h"

namespace vantor::test {
namespace {

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// One window's logic on fake seams, with the helpers that drive its conversation.
struct FirmwareRig {
  FakeSeams seams;
  FirmwareUpload fw{seams};
  TempDir dir;
  std::vector<FirmwareEvent> events;
  Subscription<FirmwareEvent> recorded{fw.onEvent,
                                       [this](FirmwareEvent e) { events.push_back(e); }};

  FakeSocket& lan2() { return *seams.sockets.at(0); }
  FakeTimer& cmdTime() { return *seams.timers.at(0); }
  FakeTimer& timeOutConect() { return *seams.timers.at(1); }
  const FirmwareView& view() { return fw.view(); }

  // Everything written to the socket so far, taken.
  std::vector<std::string> sent() {
    std::vector<std::string> out;
    for (const Bytes& w : lan2().writes) out.emplace_back(w.begin(), w.end());
    lan2().writes.clear();
    return out;
  }
  void reply(const std::string& s) { lan2().receive(text(s)); }
  bool saw(FirmwareEvent e) const {
    return std::find(events.begin(), events.end(), e) != events.end();
  }

  std::string file(const std::string& bytes, const std::string& name = "fw.hex") {
    const std::string path = dir.file(name);
    writeWhole(path, bytes);
    return path;
  }

  // Shows the window and answers the version query with `version`.
  void showWith(const std::string& version) {
    fw.host = "127.0.0.210";
    fw.FormShow();
    lan2().connect();
    ASSERT_EQ(sent(), std::vector<std::string>{"F"});
    reply(version);
  }

  // Uploads `bytes` to a device in boot mode, answering every line with "0",
  // and returns the lines sent between "U0" and "W".
  std::vector<std::string> upload(const std::string& bytes) {
    showWith("0QX7 BOOT 2.1");
    EXPECT_TRUE(fw.BtStrtClick(file(bytes)));
    EXPECT_EQ(sent(), std::vector<std::string>{"U0"});
    std::vector<std::string> lines;
    for (int guard = 0; guard < 100000; ++guard) {
      reply("0");
      const std::vector<std::string> out = sent();
      EXPECT_EQ(out.size(), 1u);
      if (out.empty() || out[0] == "W") break;
      lines.push_back(out[0]);
    }
    return lines;
  }
};

struct FirmwareFixture : ::testing::Test, FirmwareRig {};

TEST_F(FirmwareFixture, ShowingTheWindowConnectsAndAsksTheVersion) {
  fw.host = "127.0.0.210";
  fw.FormShow();
  EXPECT_EQ(lan2().host, "127.0.0.210");
  EXPECT_EQ(lan2().port, 47000);
  EXPECT_TRUE(fw.autoVersion());
  lan2().connect();
  EXPECT_EQ(view().errorBar[0], "Conect Boot");
  EXPECT_FALSE(view().conectEnabled);
  EXPECT_EQ(fw.state(), 'F');
  EXPECT_EQ(sent(), std::vector<std::string>{"F"});
}

TEST_F(FirmwareFixture, TheVersionDecidesBetweenBootModeAndUpload) {
  struct Case {
    std::string reply;
    std::string edit2;
    bool boot, upload;
  };
  const Case cases[] = {
      {"0QX7 BOOT 2.1", "QX7 BOOT 2.1", false, true},
      {"0RW4000 APP 3.4", "RW4000 APP 3.4", true, false},
      {"0", "", true, false},
      {"1QX7 BOOT 2.1", "ERR", false, false},  // enables nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    FakeSeams s;
    FirmwareUpload f(s);
    f.FormShow();
    s.sockets[0]->connect();
    s.sockets[0]->receive(text(c.reply));
    EXPECT_EQ(f.view().edit2, c.edit2);
    EXPECT_EQ(f.view().btBootEnabled, c.boot);
    EXPECT_EQ(f.view().btStrtEnabled, c.upload);
    EXPECT_EQ(f.state(), c.reply[0] == '0' ? 0 : 'F');
  }
}

// The whole change: application, boot mode request, the device restarts (the
// socket drops and comes back), upload, write, status polling, reset.
TEST_F(FirmwareFixture, WholeLifecycleThroughTheRestartIntoTheBootLoader) {
  showWith("0RW4000 APP 3.4");
  ASSERT_TRUE(view().btBootEnabled);
  fw.BtBootClick();
  EXPECT_EQ(sent(), std::vector<std::string>{"B"});
  EXPECT_EQ(view().edit2, "Wait....");
  EXPECT_FALSE(cmdTime().enabled());
  reply("0");
  EXPECT_TRUE(cmdTime().enabled());
  EXPECT_EQ(cmdTime().interval(), 250);
  cmdTime().fire();
  EXPECT_EQ(sent(), std::vector<std::string>{"F"});
  EXPECT_EQ(view().edit2Colour, Edit2Colour::Yellow);
  reply("0RW4000 APP 3.4");  // changes nothing, the timer keeps running
  EXPECT_EQ(fw.state(), 'B');
  EXPECT_TRUE(cmdTime().enabled());

  lan2().closeByPeer();  // the device restarts
  EXPECT_EQ(view().errorBar[1], "Fail Boot");
  EXPECT_EQ(view().errorBar[2], "1");
  EXPECT_EQ(view().errorBar[0], "Sconect Boot");
  EXPECT_TRUE(timeOutConect().enabled());
  EXPECT_EQ(timeOutConect().interval(), 250);
  timeOutConect().fire();
  EXPECT_FALSE(timeOutConect().enabled());
  EXPECT_EQ(lan2().state, FakeSocket::State::Opening);
  lan2().connect();
  EXPECT_EQ(view().errorBar[1], "");
  EXPECT_EQ(sent(), std::vector<std::string>{"F"});
  reply("0QX7 BOOT 2.1");
  EXPECT_EQ(view().edit2Colour, Edit2Colour::Window);
  ASSERT_TRUE(view().btStrtEnabled);
  EXPECT_FALSE(view().btBootEnabled);

  const std::string image = hexImage(64);
  ASSERT_TRUE(fw.BtStrtClick(file(image)));
  EXPECT_EQ(view().progressMaximum, static_cast<int64_t>(image.size()));
  EXPECT_EQ(view().wrFl, Colour::Red);
  EXPECT_EQ(sent(), std::vector<std::string>{"U0"});
  std::vector<std::string> lines;
  for (;;) {
    reply("0");
    const auto out = sent();
    ASSERT_EQ(out.size(), 1u);
    if (out[0] == "W") break;
    lines.push_back(out[0]);
  }
  std::vector<std::string> expected;
  for (const FirmwareLine& l : splitFirmwareLines(text(image))) expected.push_back(l.text);
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(view().progressPosition, view().progressMaximum);
  EXPECT_EQ(fw.state(), 'W');

  reply("0");
  EXPECT_EQ(view().wrFl, Colour::Green);
  EXPECT_EQ(fw.state(), 'S');
  const std::pair<const char*, const char*> polls[] = {
      {"01", "STARTED"}, {"02", "WRITING"}, {"02", "WRITING"}, {"00", "IDLE"}};
  for (const auto& [status, word] : polls) {
    ASSERT_TRUE(cmdTime().enabled());
    cmdTime().fire();
    EXPECT_FALSE(cmdTime().enabled());
    EXPECT_EQ(sent(), std::vector<std::string>{"S"});
    reply(status);
    EXPECT_EQ(view().edit2, word);
  }
  EXPECT_FALSE(saw(FirmwareEvent::ClosedOk));
  cmdTime().fire();
  EXPECT_EQ(sent(), std::vector<std::string>{"S"});
  reply("04");
  EXPECT_EQ(view().edit2, "WRITED");
  EXPECT_EQ(sent(), std::vector<std::string>{"R"});
  EXPECT_EQ(fw.state(), 0);
  EXPECT_TRUE(saw(FirmwareEvent::ClosedOk));
  EXPECT_FALSE(cmdTime().enabled());
}

TEST_F(FirmwareFixture, CrLfAndLfFilesSendTheSameLines) {
  const auto crlf = upload(hexImage(200, 16, "\r\n"));
  FirmwareRig other;
  const auto lf = other.upload(hexImage(200, 16, "\n"));
  EXPECT_EQ(crlf.size(), 14u);
  EXPECT_EQ(crlf, lf);
  for (const std::string& line : crlf) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST_F(FirmwareFixture, ALineOf499CharactersIsSentWhole) {
  const std::string longest = hexRecord(0x00, 0, std::vector<uint8_t>(244, 0x5A));
  ASSERT_EQ(longest.size(), 499u);
  const auto lines = upload(longest + "\r\n:00000001FF\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], longest);
}

TEST_F(FirmwareFixture, ALastLineWithoutLineEndGoesBeforeWriteAndEmptyLinesAreSkipped) {
  const std::string data = hexRecord(0x00, 0x10, {1, 2, 3, 4});
  const auto lines = upload("\r\n" + data + "\r\n\r\n\n:00000001FF");
  EXPECT_EQ(lines, (std::vector<std::string>{data, ":00000001FF"}));
}

TEST_F(FirmwareFixture, ACorruptFileIsRefusedBeforeAnythingIsSent) {
  showWith("0QX7 BOOT 2.1");
  std::string image = hexImage(64, 16, "\n");
  const size_t third = image.find('\n', image.find('\n') + 1) + 1;
  image[third + 10] = image[third + 10] == 'A' ? 'B' : 'A';  // breaks its checksum
  EXPECT_FALSE(fw.BtStrtClick(file(image)));
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(view().edit2, "ERR");
  EXPECT_NE(view().message.find("line 3: checksum"), std::string::npos) << view().message;
  EXPECT_EQ(fw.state(), 0);
  EXPECT_TRUE(saw(FirmwareEvent::FileRefused));
  EXPECT_EQ(view().wrFl, Colour::ButtonFace);
}

TEST_F(FirmwareFixture, AFileThatCannotBeOpenedIsReportedAndTheWindowStaysIdle) {
  showWith("0QX7 BOOT 2.1");
  EXPECT_FALSE(fw.BtStrtClick(dir.file("missing.hex")));
  EXPECT_TRUE(sent().empty());
  EXPECT_NE(view().message.find("Cannot open"), std::string::npos) << view().message;
  EXPECT_EQ(fw.state(), 0);
  EXPECT_TRUE(view().btStrtEnabled);
}

TEST_F(FirmwareFixture, StatusCharactersWithoutAWordShowAQuestionMarkAndPollingGoesOn) {
  upload(hexImage(16));
  reply("0");  // the write is accepted
  const std::pair<const char*, const char*> cases[] = {
      {"07", "?7"}, {"03", "FAILED"}, {"0", "?"}, {"0A", "?A"}};
  for (const auto& [status, shown] : cases) {
    SCOPED_TRACE(status);
    cmdTime().fire();
    EXPECT_EQ(sent(), std::vector<std::string>{"S"});
    reply(status);
    EXPECT_EQ(view().edit2, shown);
    EXPECT_EQ(fw.state(), 'S');
    EXPECT_TRUE(cmdTime().enabled());
  }
}

TEST_F(FirmwareFixture, AFailedReplyHaltsTheExchangeInPlace) {
  showWith("0QX7 BOOT 2.1");
  ASSERT_TRUE(fw.BtStrtClick(file(hexImage(64))));
  sent();
  reply("0");
  EXPECT_EQ(sent().size(), 1u);
  reply("1");
  EXPECT_EQ(view().edit2, "ERR");
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(fw.state(), 'U');
  EXPECT_TRUE(saw(FirmwareEvent::ReplyFailed));
  // Abort ends it; a new upload starts from the first line.
  fw.AbortClick();
  ASSERT_TRUE(fw.BtStrtClick(file(hexImage(64))));
  EXPECT_EQ(sent(), std::vector<std::string>{"U0"});
}

// Replies carry no terminator and each answers one request: a read holding
// more, or one that no request waits for, must not advance the upload.
TEST_F(FirmwareFixture, JoinedAndUnaskedRepliesAreLoggedAndIgnored) {
  reply("0");  // nothing was asked yet
  ASSERT_EQ(fw.log().size(), 1u);
  EXPECT_EQ(fw.log().back(), "Ignored 1 bytes: no request awaits a reply");

  showWith("0QX7 BOOT 2.1");
  ASSERT_TRUE(fw.BtStrtClick(file(hexImage(64))));
  sent();
  reply("00");
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(fw.linesSent(), 0u);
  EXPECT_EQ(fw.log().back(), "Ignored 2 bytes: more than one reply in one read");
  reply("0");
  EXPECT_EQ(sent().size(), 1u);
  EXPECT_EQ(fw.linesSent(), 1u);
  // Status replies are two characters: three are more than one reply.
  for (int i = 0; i < 5; ++i) reply("0");  // four lines, then the write
  EXPECT_EQ(sent().back(), "W");
  reply("0");
  cmdTime().fire();
  sent();
  reply("020");
  EXPECT_EQ(fw.log().back(), "Ignored 3 bytes: more than one reply in one read");
  EXPECT_EQ(view().edit2, "QX7 BOOT 2.1");  // no status was taken
  EXPECT_FALSE(cmdTime().enabled());
  EXPECT_EQ(fw.log().size(), 3u);
}

TEST_F(FirmwareFixture, AbortStopsAfterTheLineInFlightAndANewUploadStartsFromTheFirstLine) {
  showWith("0QX7 BOOT 2.1");
  const std::string image = hexImage(160);
  ASSERT_TRUE(fw.BtStrtClick(file(image)));
  EXPECT_TRUE(view().abortEnabled);
  sent();
  for (int i = 0; i < 3; ++i) reply("0");
  const auto first = sent();
  ASSERT_EQ(first.size(), 3u);
  fw.AbortClick();
  EXPECT_EQ(fw.state(), 0);
  EXPECT_FALSE(view().abortEnabled);
  EXPECT_TRUE(view().btStrtEnabled);
  EXPECT_EQ(view().wrFl, Colour::ButtonFace);
  EXPECT_EQ(view().message, "Upload aborted after line 3 of 11; the device stays in boot mode.");
  reply("0");  // the acknowledgement of the line in flight
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(fw.log().empty());

  ASSERT_TRUE(fw.BtStrtClick(file(image)));
  EXPECT_EQ(sent(), std::vector<std::string>{"U0"});
  reply("0");
  EXPECT_EQ(sent(), std::vector<std::string>{first[0]});

  // Upload clicked again before the reply to the line in flight came: "U0"
  // waits for that reply, which is not taken for its acknowledgement.
  reply("0");
  sent();
  fw.AbortClick();
  ASSERT_TRUE(fw.BtStrtClick(file(image)));
  EXPECT_TRUE(sent().empty());
  reply("0");  // the line in flight
  EXPECT_EQ(sent(), std::vector<std::string>{"U0"});
  EXPECT_EQ(fw.linesSent(), 0u);
  reply("0");
  EXPECT_EQ(sent(), std::vector<std::string>{first[0]});
}

TEST_F(FirmwareFixture, ALinkLostDuringTheUploadEndsItAndTheWindowReconnects) {
  showWith("0QX7 BOOT 2.1");
  ASSERT_TRUE(fw.BtStrtClick(file(hexImage(160))));
  sent();
  reply("0");
  reply("0");
  sent();
  lan2().closeByPeer();
  EXPECT_EQ(fw.state(), 0);
  EXPECT_TRUE(saw(FirmwareEvent::UploadInterrupted));
  EXPECT_NE(view().message.find("after line 2 of 11"), std::string::npos) << view().message;
  timeOutConect().fire();
  lan2().connect();
  EXPECT_EQ(sent(), std::vector<std::string>{"F"});
  reply("0QX7 BOOT 2.1");
  ASSERT_TRUE(fw.BtStrtClick(file(hexImage(160))));
  EXPECT_EQ(sent(), std::vector<std::string>{"U0"});
}

TEST_F(FirmwareFixture, ProgressLineCountsLinesPercentAndTimeLeft) {
  showWith("0QX7 BOOT 2.1");
  const std::string image = hexImage(16 * 9, 16, "\n");  // 9 data lines and the end
  ASSERT_TRUE(fw.BtStrtClick(file(image)));
  EXPECT_EQ(view().progressLine, "line 0 of 10, 0 %, ETA -:--");
  seams.clockImpl.nowMs += 5000;
  reply("0");
  // One line in 5 s, nine to go: 45 s.
  const int64_t percent = 44 * 100 / static_cast<int64_t>(image.size());
  EXPECT_EQ(view().progressLine, "line 1 of 10, " + std::to_string(percent) + " %, ETA 0:45");
  seams.clockImpl.nowMs += 5000 * 4;
  for (int i = 0; i < 4; ++i) reply("0");
  EXPECT_EQ(view().progressLine.substr(0, 13), "line 5 of 10,");
  EXPECT_EQ(view().progressLine.substr(view().progressLine.size() - 8), "ETA 0:25");
}

TEST_F(FirmwareFixture, ClosingTheWindowStopsTheReconnect) {
  showWith("0RW4000 APP 3.4");
  lan2().fail();
  ASSERT_TRUE(timeOutConect().enabled());
  fw.FormClose();
  EXPECT_FALSE(timeOutConect().enabled());
  EXPECT_FALSE(cmdTime().enabled());
  EXPECT_EQ(lan2().state, FakeSocket::State::Closed);
}

TEST_F(FirmwareFixture, TheErrorCounterWrapsAfter255) {
  fw.FormShow();
  for (int i = 0; i < 256; ++i) lan2().fail();
  EXPECT_EQ(fw.errorCount(), 0);
  EXPECT_EQ(view().errorBar[2], "0");
  lan2().fail();
  EXPECT_EQ(view().errorBar[2], "1");
}

struct CallFwTest : LinkFixture {};

TEST_F(CallFwTest, ClosesTheMainLinkAndReconnectsOnlyWhenTheWindowClosesWithOk) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok);
    connectMain();
    std::string shownHost;
    bool linkOpenWhileShown = true;
    CallFWClick(device.connection, [&](const std::string& host) {
      shownHost = host;
      linkOpenWhileShown = lan2().state != FakeSocket::State::Closed;
      return ok;
    });
    EXPECT_EQ(shownHost, "127.0.0.9");
    EXPECT_FALSE(linkOpenWhileShown);
    EXPECT_EQ(lan2().state, ok ? FakeSocket::State::Opening : FakeSocket::State::Closed);
    lan2().close();
  }
}

}  // namespace
}  // namespace vantor::test
