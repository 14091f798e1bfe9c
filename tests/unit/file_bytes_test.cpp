#include "config/file_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>

#include "child_process.h"
#include "temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

const FileLimit kTestLimit{1000, "a test file"};

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// Bytes that differ from their neighbours, so a slip in order or length shows.
std::string pattern(size_t size) {
  std::string out(size, '\0');
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<char>(i * 7 % 251);
  return out;
}

}  // namespace

TEST(FileBytes, AFileIsReadWholeUpToItsLimitAndRefusedAboveIt) {
  TempDir dir;
  struct Case {
    size_t size;
    uint64_t limit;
    bool read;
  } cases[] = {
      // 10000 bytes take several chunks; a limit of UINT64_MAX is no limit.
      {0, 1000, true},      {1000, 1000, true},    {1001, 1000, false},
      {10000, 10000, true}, {10001, 10000, false}, {10, UINT64_MAX, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " bytes, limit " << c.limit);
    const std::string path = dir.file("f.bin");
    writeWhole(path, pattern(c.size));
    std::string error;
    const std::optional<Bytes> bytes = readFileBytes(path, {c.limit, "a test file"}, error);
    if (c.read) {
      ASSERT_TRUE(bytes) << error;
      EXPECT_EQ(std::string(bytes->begin(), bytes->end()), pattern(c.size));
    } else {
      EXPECT_FALSE(bytes);
      EXPECT_EQ(error, path + " is " + std::to_string(c.size) + " bytes; at most " +
                           std::to_string(c.limit) + " are read for a test file");
    }
  }
}

TEST(FileBytes, AFileThatGrowsWhileItIsReadIsCutOffAtItsLimit) {
  TempDir dir;
  const std::string path = dir.file("growing.txt");
  writeWhole(path, std::string(5000, 'a'));
  uint64_t handed = 0;
  std::string error;
  const bool read = readFileChunks(path,
                                   [&](ByteView chunk) {
                                     if (handed == 0)
                                       std::ofstream(path, std::ios::app)
                                           << std::string(100000, 'b');
                                     handed += chunk.size();
                                     return true;
                                   },
                                   error, {6000, "a test file"});
  EXPECT_FALSE(read);
  EXPECT_LE(handed, 6000u);
  EXPECT_EQ(error, path + " is more than 6000 bytes; at most 6000 are read for a test file");
}

TEST(FileBytes, ASaveReplacesTheWholeFileAndKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.file("saved.txt");
  writeWhole(path, std::string(2000, 'o'));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  std::string error;
  ASSERT_TRUE(writeFileText(path, "new", error)) << error;
  EXPECT_EQ(readWhole(path), "new");
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(namesIn(dir.file("")), std::set<std::string>{"saved.txt"});
}

TEST(FileBytes, ASaveThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
  TempDir dir;
  fs::create_directories(dir.file("real"));
  const std::string real = dir.file("real/blocks.bin");
  const std::string link = dir.file("link.bin");
  writeWhole(real, "old");
  fs::create_symlink(real, link);
  std::string error;
  ASSERT_TRUE(writeFileText(link, "new", error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readWhole(real), "new");
  EXPECT_EQ(namesIn(dir.file("real")), std::set<std::string>{"blocks.bin"});
}

#ifndef _WIN32
// A pipe, a device or a folder given as a file: refused at once, before a
// byte is read, never waited on.
TEST(FileBytes, WhatIsNotARegularFileOfItsSizeIsRefusedUnread) {
  TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string folder = dir.file("folder");
  fs::create_directories(folder);
  const std::string big = dir.file("big.txt");
  writeWhole(big, std::string(5000, '\n'));
  struct Case {
    std::string path;
    std::string error;
  } cases[] = {
      {pipe, pipe + " is not a regular file (it is a pipe)"},
      {"/dev/zero", "/dev/zero is not a regular file (it is a device)"},
      {folder, folder + " is not a regular file (it is a directory)"},
      {big, big + " is 5000 bytes; at most 1000 are read for a test file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ChildOutcome child = runInChild(
        [&] {
          uint64_t handed = 0;
          std::string error;
          const bool read = readFileChunks(
              c.path,
              [&](ByteView chunk) {
                handed += chunk.size();
                return true;
              },
              error, kTestLimit);
          return std::string(read ? "read " : "refused ") + std::to_string(handed) + " " + error;
        },
        std::chrono::seconds(5));
    if (!child.finished) {
      ADD_FAILURE() << "still reading after 5 s";
      continue;
    }
    EXPECT_EQ(child.output, "refused 0 " + c.error);
  }
}

TEST(FileBytes, WhatIsNotARegularFileIsNotWrittenOver) {
  TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string folder = dir.file("folder");
  fs::create_directories(folder);
  struct Case {
    std::string path;
    std::string error;
    fs::file_type type;
  } cases[] = {
      {pipe, "Cannot write " + pipe + ": not a regular file (it is a pipe)", fs::file_type::fifo},
      {folder, "Cannot write " + folder + ": not a regular file (it is a directory)",
       fs::file_type::directory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ChildOutcome child = runInChild(
        [&] {
          std::string error;
          return std::string(writeFileText(c.path, "data", error) ? "written" : error);
        },
        std::chrono::seconds(5));
    if (!child.finished) {
      ADD_FAILURE() << "still writing after 5 s";
      continue;
    }
    EXPECT_EQ(child.output, c.error);
    EXPECT_EQ(fs::symlink_status(c.path).type(), c.type);
  }
  EXPECT_EQ(namesIn(dir.file("")), (std::set<std::string>{"pipe", "folder"}));
  EXPECT_TRUE(fs::is_empty(folder));
}
#endif
