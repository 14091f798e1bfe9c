// `vantorctl firmware` against the simulator's boot loader over loopback: the
// whole change from the application back to the application, and its faults.
// Each test has its own 127.0.0.N (210 upwards).
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "../support/hex_image.h"
#include "processes.h"

using namespace vantor;
using namespace vantor::e2e;

namespace {

std::string writeImage(const QTemporaryDir& dir, const std::string& text,
                       const char* name = "fw.hex") {
  const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const std::string& image64k() {
  static const std::string text = test::hexImage(64 * 1024);
  return text;
}

}  // namespace

TEST(FirmwareE2E, UploadsA64KiBImageFromTheApplicationBackToTheApplication) {
  SimProcess sim("127.0.0.210");
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const std::string path = writeImage(dir, image64k());
  std::string shown;
  const CtlResult r = runCtlOnTerminal(
      {"--host", "127.0.0.210", "firmware", QString::fromStdString(path)},
      [&](const std::string& text) { shown = text; }, 60000);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Firmware written; the device runs \" RW40"), std::string::npos) << r.out;
  // Progress went by on the terminal: boot mode, the lines with their ETA, the write.
  EXPECT_NE(r.err.find("boot mode requested"), std::string::npos);
  EXPECT_NE(r.err.find(" of 4097, "), std::string::npos);
  EXPECT_NE(r.err.find("ETA 0:"), std::string::npos);
  EXPECT_NE(r.err.find("writing: WRITING"), std::string::npos);
  EXPECT_EQ(r.err.find("vantorctl:"), std::string::npos) << r.err;
  // The application answers the main port again.
  EXPECT_EQ(runCtl({"--host", "127.0.0.210", "status"}).exitCode, 0);
  // And a second change starts from the application once more.
  const CtlResult again =
      runCtl({"--host", "127.0.0.210", "firmware", QString::fromStdString(path)});
  EXPECT_EQ(again.exitCode, 0) << again.err;
}

TEST(FirmwareE2E, ALineTheBootLoaderRefusesEndsWithExit5) {
  SimProcess sim("127.0.0.211", {"boot-nak"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const CtlResult r = runCtl(
      {"--host", "127.0.0.211", "firmware", QString::fromStdString(writeImage(dir, image64k()))});
  EXPECT_EQ(r.exitCode, 5) << r.err;
  EXPECT_NE(r.err.find("the boot loader refused line 10 of 4097"), std::string::npos) << r.err;
}

// The boot loader drops the link in the middle of the first upload: the link
// comes back and the upload starts again from the first line.
TEST(FirmwareE2E, AnUploadCutByALostLinkStartsAgainWhenTheLinkComesBack) {
  SimProcess sim("127.0.0.212", {"boot-drop"});
  ASSERT_TRUE(sim.ready());
  QTemporaryDir dir;
  const CtlResult r = runCtl(
      {"--host", "127.0.0.212", "firmware", QString::fromStdString(writeImage(dir, image64k()))});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(runCtl({"--host", "127.0.0.212", "status"}).exitCode, 0);
}

// Nothing listens on 127.0.0.213: a refused file ends the run before any
// connection is tried (4, not 1), an unreadable one too.
TEST(FirmwareE2E, ACorruptFileIsRefusedBeforeAnythingIsConnected) {
  QTemporaryDir dir;
  std::string text = test::hexImage(256, 16, "\n");
  text[text.find('\n') + 5] = 'G';
  const CtlResult r =
      runCtl({"--host", "127.0.0.213", "firmware", QString::fromStdString(writeImage(dir, text))});
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_NE(r.err.find("refused, nothing was sent: line 2: character 5 is not a hex digit"),
            std::string::npos)
      << r.err;
  const CtlResult missing = runCtl({"--host", "127.0.0.213", "firmware", dir.filePath("none.hex")});
  EXPECT_EQ(missing.exitCode, 4) << missing.err;
  EXPECT_NE(missing.err.find("Cannot open"), std::string::npos) << missing.err;
}

TEST(FirmwareE2E, ADeviceThatNeverAnswersEndsWithExit1AfterTheTimeout) {
  QTemporaryDir dir;
  const CtlResult r = runCtl({"--host", "127.0.0.213", "--timeout", "1", "firmware",
                              QString::fromStdString(writeImage(dir, test::hexImage(64)))});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("no answer from 127.0.0.213:47000 within 1 s"), std::string::npos) << r.err;
}
