#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/data_dir.h"
#include "app/main_window_logic.h"
#include "fakes.h"
#include "temp_dir.h"

using namespace vantor;

namespace {
const LocalTime k1059{2026, 12, 10, 10, 59, 0};
}

TEST(SettingsFile, RecordIsByteExact) {
  const SettingsRecord r = SettingsRecord::make(4, "127.0.0.1", k1059);
  const auto bytes = r.encode();
  ASSERT_EQ(bytes.size(), 42u);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[1])), "127.0.0.1");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[21])), "1010122026");
  unsigned sum = 0;
  for (size_t i = 0; i < 41; ++i) sum += bytes[i];
  EXPECT_EQ(bytes[41], sum % 256);
  for (size_t i = 1 + 9; i < 21; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(SettingsFile, OnlyLevelFourSurvivesAndOnlyWithinTheSameHourAndDay) {
  const LocalTime next{2026, 12, 10, 11, 0, 0};
  const LocalTime nextDay{2026, 12, 11, 10, 5, 0};
  EXPECT_EQ(SettingsRecord::make(4, "h", k1059).restoredLevel(k1059), 4);
  EXPECT_EQ(SettingsRecord::make(4, "h", k1059).restoredLevel(next), 0);
  EXPECT_EQ(SettingsRecord::make(4, "h", k1059).restoredLevel(nextDay), 0);
  EXPECT_EQ(SettingsRecord::make(3, "h", k1059).restoredLevel(k1059), 0);
  SettingsRecord changed = SettingsRecord::make(4, "h", k1059);
  changed.host[15] = 'x';  // after the host's NUL, check byte not fixed
  EXPECT_EQ(changed.restoredLevel(k1059), 0);
  EXPECT_EQ(changed.hostText(), "h");
}

TEST(SettingsFile, LongHostKeepsItsFirst19Characters) {
  const SettingsRecord r = SettingsRecord::make(0, "abcdefghijklmnopqrstuvwxyz", k1059);
  EXPECT_EQ(r.hostText(), "abcdefghijklmnopqrs");
  EXPECT_EQ(r.host[19], 0);
}

TEST(SettingsFile, WriteThenReadRoundTripsAndAShortFileIsNotARecord) {
  const auto dir = std::filesystem::temp_directory_path() / "vantor_settings_test";
  std::filesystem::create_directories(dir);
  const std::string path = settingsPath(dir.string() + "/", "RW4000 Vantor8.10");
  EXPECT_EQ(path, dir.string() + "/RW4000 Vantor8.10.ini");
  const SettingsRecord r = SettingsRecord::make(4, "127.0.0.7", k1059);
  ASSERT_TRUE(writeSettingsFile(path, r));
  EXPECT_EQ(std::filesystem::file_size(path), 42u);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  const auto back = readSettingsFile(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->encode(), r.encode());
  std::filesystem::resize_file(path, 30);
  EXPECT_FALSE(readSettingsFile(path));
  EXPECT_FALSE(readSettingsFile((dir / "missing.ini").string()));
  EXPECT_FALSE(writeSettingsFile((dir / "no/such/dir/x.ini").string(), r));
  std::filesystem::remove_all(dir);
}

TEST(SettingsFile, EveryRunFindsTheHostTheRunBeforeLeftAndOneFileHoldsIt) {
  test::TempDir dir;
  const std::string dataDir = withTrailingSlash(dir.file("data"));
  const char* hosts[] = {"127.0.0.31", "127.0.0.32", "127.0.0.33"};
  std::string found;  // the first run finds no file
  for (const char* host : hosts) {
    SCOPED_TRACE(host);
    test::FakeSeams seams;
    Device device(seams);
    MainWindowLogic logic(device, seams.clock(), dataDir, kWindowCaption);
    logic.FormCreate();
    if (!found.empty()) {
      EXPECT_EQ(device.connection.controls.host, found);
    }
    logic.useHost(host);
    ASSERT_TRUE(logic.FormDestroy());
    found = host;
  }
  EXPECT_EQ(readSettingsFile(settingsPath(dataDir, kWindowCaption))->hostText(), "127.0.0.33");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.file("data")))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"RW4000 Vantor8.10.ini"});
}

TEST(SettingsFile, AWriteThatFailsSaysWhy) {
  test::TempDir dir;
  const std::string path = dir.file("missing/x.ini");
  std::string why;
  EXPECT_FALSE(writeSettingsFile(path, SettingsRecord::make(0, "h", k1059), &why));
  EXPECT_EQ(why, "Cannot create " + path + ": No such file or directory");
}
