#include "app/main_window_logic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/data_dir.h"
#include "app/settings_file.h"
#include "fakes.h"

using namespace vantor;
namespace fs = std::filesystem;

namespace {

class MainWindowLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("vantor-mwl-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    dataDir = withTrailingSlash(dir.string());
  }
  void TearDown() override { fs::remove_all(dir); }

  void writeRecord(const SettingsRecord& r) {
    std::ofstream out(settingsPath(dataDir, kWindowCaption), std::ios::binary);
    const auto bytes = r.encode();
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  fs::path dir;
  std::string dataDir;
  test::FakeSeams seams;
  Device device{seams};
};

}  // namespace

TEST_F(MainWindowLogicTest, SettingsPathIsDataDirCaptionAndIni) {
  MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
  EXPECT_EQ(logic.settingsPath(), dataDir + "RW4000 Vantor8.10.ini");
}

TEST_F(MainWindowLogicTest, WithoutAFileTheHostKeepsItsDesignValueAndTheLevelIsZero) {
  MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
  logic.FormCreate();
  EXPECT_EQ(device.connection.controls.host, kDefaultDeviceHost);
  EXPECT_EQ(device.access.level(), 0);
  EXPECT_EQ(device.shell.statusBar[2], "NO USER");
}

TEST_F(MainWindowLogicTest, WithoutAFileTheDataDirectoryIsCreated) {
  const std::string nested = withTrailingSlash((dir / "a" / "b").string());
  MainWindowLogic logic(device, seams.clock(), nested, kWindowCaption);
  logic.FormCreate();
  EXPECT_TRUE(fs::is_directory(dir / "a" / "b"));
}

TEST_F(MainWindowLogicTest, RestoreCases) {
  const LocalTime now{2026, 12, 10, 10, 59, 0};
  struct Case {
    const char* what;
    uint8_t level;
    LocalTime stamped;
    int tamper;  // offset of a byte changed after the check byte was made, or -1
    uint8_t expected;
  };
  const Case cases[] = {
      {"level 4 within the same hour", 4, now, -1, 4},
      {"level 4 from the hour before (10:59 -> 11:00)", 4, {2026, 12, 10, 9, 30, 0}, -1, 0},
      {"level 4 from the day before", 4, {2026, 12, 9, 10, 0, 0}, -1, 0},
      {"level 4 from another year", 4, {2025, 12, 10, 10, 0, 0}, -1, 0},
      {"level 3 with a right check byte", 3, now, -1, 0},
      {"level 1", 1, now, -1, 0},
      {"level 4, a byte after the host's NUL changed", 4, now, 1 + 15, 0},
      {"level 4, a byte after the stamp's NUL changed", 4, now, 21 + 15, 0},
      {"level 4, check byte changed", 4, now, 41, 0},
  };
  for (const Case& c : cases) {
    test::FakeSeams s;
    s.clockImpl.local = now;
    Device d(s);
    SettingsRecord r = SettingsRecord::make(c.level, "127.0.0.42", c.stamped);
    if (c.tamper >= 0) {
      auto bytes = r.encode();
      bytes[static_cast<size_t>(c.tamper)] ^= 0x5A;
      r = *SettingsRecord::decode(bytes.data(), bytes.size());
    }
    writeRecord(r);
    MainWindowLogic logic(d, s.clock(), dataDir, kWindowCaption);
    logic.FormCreate();
    EXPECT_EQ(d.access.level(), c.expected) << c.what;
    EXPECT_EQ(d.connection.controls.host, "127.0.0.42") << c.what << ": the host is taken anyway";
    EXPECT_EQ(d.shell.statusBar[2], accessLevelName(c.expected)) << c.what;
  }
}

TEST_F(MainWindowLogicTest, FormDestroyWritesLevelHostAndStamp) {
  seams.clockImpl.local = {2026, 3, 7, 8, 15, 0};
  MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
  logic.FormCreate();
  logic.useHost("127.0.0.77");
  device.access.setLevel(4);
  ASSERT_TRUE(logic.FormDestroy());
  const auto r = readSettingsFile(logic.settingsPath());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->level, 4);
  EXPECT_EQ(r->hostText(), "127.0.0.77");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r->stamp.data())), "0807032026");
  EXPECT_EQ(r->check, r->computeCheck());
  EXPECT_EQ(fs::file_size(logic.settingsPath()), 42u);
}

TEST_F(MainWindowLogicTest, Level4SurvivesARestartWithinTheHourOnly) {
  {
    MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
    logic.FormCreate();
    device.access.setLevel(4);
    logic.FormDestroy();
  }
  test::FakeSeams later;
  later.clockImpl.local = seams.clockImpl.local;
  later.clockImpl.local.minute = 59;
  Device again(later);
  MainWindowLogic logic2(again, later.clock(), dataDir, kWindowCaption);
  logic2.FormCreate();
  EXPECT_EQ(again.access.level(), 4);

  test::FakeSeams nextHour;
  nextHour.clockImpl.local = seams.clockImpl.local;
  nextHour.clockImpl.local.hour += 1;
  nextHour.clockImpl.local.minute = 0;
  Device third(nextHour);
  MainWindowLogic logic3(third, nextHour.clock(), dataDir, kWindowCaption);
  logic3.FormCreate();
  EXPECT_EQ(third.access.level(), 0);
}

TEST_F(MainWindowLogicTest, ALongHostIsStoredAsItsFirst19Characters) {
  MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
  logic.useHost("host.of.twenty-five.chars");
  ASSERT_TRUE(logic.FormDestroy());
  EXPECT_EQ(readSettingsFile(logic.settingsPath())->hostText(), "host.of.twenty-five");
}

TEST_F(MainWindowLogicTest, FormDestroyIntoAMissingFolderFailsSilently) {
  MainWindowLogic logic(device, seams.clock(), withTrailingSlash((dir / "gone").string()),
                        kWindowCaption);
  EXPECT_FALSE(logic.FormDestroy());
}

TEST_F(MainWindowLogicTest, ErrorBarClickClearsPanelsOneAndThreeOnly) {
  MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
  for (size_t p = 0; p < 7; ++p)
    device.shell.errorBar[p] = std::string("x").append(std::to_string(p));
  logic.ErrorBarClick();
  EXPECT_EQ(device.shell.errorBar[0], "x0");
  EXPECT_EQ(device.shell.errorBar[1], "");
  EXPECT_EQ(device.shell.errorBar[2], "x2");
  EXPECT_EQ(device.shell.errorBar[3], "");
  EXPECT_EQ(device.shell.errorBar[5], "x5");
  EXPECT_EQ(device.shell.errorBar[6], "x6");
}
