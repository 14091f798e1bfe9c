// The tool's own files as its features read and write them: the parameter
// file ("Save File" / "Read File"), the block backup ("SaveParFile" /
// "GetParFile") and the settings file (written at exit, read at start).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "app/data_dir.h"
#include "app/main_window_logic.h"
#include "app/settings_file.h"
#include "child_process.h"
#include "par_tables_fixture.h"
#include "temp_dir.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace vantor;
using namespace vantor::test;
namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

struct ToolFilesTest : ParTablesFixture {
  TempDir dir;
  ToolFilesTest() {
    readAll();
    const std::string version = " RW4000 8.10";
    lan2().receive(replyFrame(70, Bytes(version.begin(), version.end())));
    device.channel.clearQueue();
  }

  // A folder of its own for one file of a case.
  std::string fileIn(const std::string& folder, const std::string& name) {
    fs::create_directories(dir.file(folder));
    return dir.file(folder + "/" + name);
  }
  std::string saveTables(const std::string& path) {
    return device.parTableFile.SaveFileAllClick(path)
               ? "saved"
               : "failed: " + device.parTableFile.controls.memo7.back();
  }
  std::string saveBlocks(const std::string& path) {
    return device.configBlocks.SaveParFileClick(path)
               ? "saved"
               : "failed: " + device.configBlocks.controls.message;
  }
};

}  // namespace

TEST_F(ToolFilesTest, ASaveOverAnEarlierFileLeavesExactlyWhatAFreshSaveWrites) {
  struct Case {
    const char* what;
    std::function<std::string(const std::string&)> save;
  } cases[] = {
      {"Save File", [&](const std::string& p) { return saveTables(p); }},
      {"SaveParFile", [&](const std::string& p) { return saveBlocks(p); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string fresh = fileIn(std::string(c.what) + "-fresh", "file");
    const std::string over = fileIn(std::string(c.what) + "-over", "file");
    writeWhole(over, std::string(5000, 'x'));  // longer than the new file
    ASSERT_EQ(c.save(fresh), "saved");
    ASSERT_EQ(c.save(over), "saved");
    EXPECT_EQ(readWhole(over), readWhole(fresh));
    EXPECT_EQ(namesIn(fs::path(over).parent_path().string()), std::set<std::string>{"file"});
  }
}

#ifndef _WIN32
// Each save made to fail halfway, as on a full disk: a file size limit is set
// in a child process and the save is larger than it. The file from the save
// before stays whole and no temporary file is left beside it.
TEST_F(ToolFilesTest, AFailedSaveLeavesTheEarlierFileWholeAndNoTemporaryFile) {
  // The window's own Device: its logic starts from the design host, which
  // the parameter file would carry.
  FakeSeams windowSeams;
  Device window(windowSeams);
  MainWindowLogic logic(window, windowSeams.clock(), withTrailingSlash(dir.file("settings")),
                        kWindowCaption);
  fs::create_directories(dir.file("settings"));
  const std::string tables = fileIn("tables", "tables.txt");
  const std::string blocks = fileIn("blocks", "blocks.bin");
  struct Case {
    const char* what;
    std::string path;
    rlim_t limit;  // bytes; each file saved is larger
    std::function<std::string()> save;
    std::string told;
  } cases[] = {
      {"Save File", tables, 64, [&] { return saveTables(tables); },
       "failed: Cannot write " + tables + ": File too large"},
      {"SaveParFile", blocks, 100, [&] { return saveBlocks(blocks); },
       "failed: Cannot write " + blocks + ": File too large"},
      {"settings at exit", logic.settingsPath(), 16,
       [&] { return std::string(logic.FormDestroy() ? "saved" : "failed"); }, "failed"},
  };
  const std::string before = "the file saved before\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeWhole(c.path, before);
    const ChildOutcome child = runInChild([&] {
      const rlimit limit{c.limit, c.limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
      return c.save();
    });
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.output, c.told);
    EXPECT_EQ(readWhole(c.path), before);
    EXPECT_EQ(namesIn(fs::path(c.path).parent_path().string()),
              std::set<std::string>{fs::path(c.path).filename().string()});
  }
}

// A pipe, a device, a folder or a file too large for its format, chosen as
// the file to read: each reader refuses it at once, unread, and says why.
TEST_F(ToolFilesTest, EveryReaderRefusesAPipeADeviceAFolderAndAnOversizeFileAtOnce) {
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string folder = dir.file("folder");
  fs::create_directories(folder);

  // A parameter file of the right device, past 1 MiB with parameter lines
  // that match nothing.
  const std::string bigTables = dir.file("big.txt");
  std::string text = " RW4000 8.10\tIP:127.0.0.9\r\n\r\nPesagem\r\n";
  while (text.size() <= (1u << 20)) text += "\tNoSuchParameter\t1\r\n";
  writeWhole(bigTables, text);
  // A right settings record with one byte more.
  const std::string bigSettings = dir.file("big.ini");
  const auto record = SettingsRecord::make(4, "127.0.0.9", seams.clockImpl.local).encode();
  writeWhole(bigSettings, std::string(record.begin(), record.end()) + "x");

  ParFileControls& memo = device.parTableFile.controls;
  const auto readTables = [&](const std::string& path) {
    const size_t before = memo.memo7.size();
    std::string out = device.parTableFile.ReadFileParClick(path) ? "accepted" : "refused";
    for (size_t i = before; i < memo.memo7.size(); ++i) out += " | " + memo.memo7[i];
    return out;
  };
  const auto readBlocks = [&](const std::string& path) {
    const bool loaded = device.configBlocks.GetParFileClick(path);
    return std::string(loaded ? "loaded" : "refused") + " | " +
           device.configBlocks.controls.message;
  };
  const auto readSettings = [&](const std::string& path) {
    return std::string(readSettingsFile(path) ? "a record" : "nothing");
  };
  const auto notRegular = [](const std::string& path, const char* kind) {
    return "refused | " + path + " is not a regular file (it is " + kind + ")";
  };
  struct Case {
    const char* reader;
    std::function<std::string(const std::string&)> read;
    std::string path;
    std::string expected;
  } cases[] = {
      {"Read File", readTables, pipe, notRegular(pipe, "a pipe")},
      {"Read File", readTables, "/dev/zero", notRegular("/dev/zero", "a device")},
      {"Read File", readTables, folder, notRegular(folder, "a directory")},
      {"Read File", readTables, bigTables,
       "refused | " + bigTables + " is " + std::to_string(text.size()) +
           " bytes; at most 1048576 are read for a parameter file"},
      {"GetParFile", readBlocks, pipe, notRegular(pipe, "a pipe")},
      {"GetParFile", readBlocks, "/dev/zero", notRegular("/dev/zero", "a device")},
      {"GetParFile", readBlocks, folder, notRegular(folder, "a directory")},
      {"settings at start", readSettings, pipe, "nothing"},
      {"settings at start", readSettings, "/dev/zero", "nothing"},
      {"settings at start", readSettings, folder, "nothing"},
      {"settings at start", readSettings, bigSettings, "nothing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.reader << " of " << c.path);
    const ChildOutcome child = runInChild([&] { return c.read(c.path); }, std::chrono::seconds(5));
    if (!child.finished) {
      ADD_FAILURE() << "still reading after 5 s";
      continue;
    }
    EXPECT_EQ(child.output, c.expected);
  }
}
#endif
