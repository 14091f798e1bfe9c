// Snapshot comparisons by named cells, and a snapshot run stopped between
// parts.
#include "app/snapshot_cells.h"

#include <gtest/gtest.h>

#include "app/snapshot_run.h"
#include "config/user_list_file.h"
#include "peripherals/reject_text_file.h"

using namespace vantor;

namespace {

TEST(SnapshotCells, DifferencesNameEachCellAndHideSecrets) {
  const NamedCells device = {{"T a", "1"},
                             {"T b", "2"},
                             {"T b", "3"},
                             {"only device", "4"},
                             {"user 1 password", "abc", true}};
  const NamedCells file = {{"T a", "1"},
                           {"T b", "2"},
                           {"T b", "9"},
                           {"user 1 password", "abd", true},
                           {"only file", "\"x\""}};
  const std::vector<CellDifference> expected = {
      {"tables", "T b", "3", "9"},  // the second cell of the name with the second
      {"tables", "only device", "4", "(none)"},
      {"tables", "user 1 password", "(hidden)", "(hidden)"},
      {"tables", "only file", "(none)", "\"x\""},
  };
  EXPECT_EQ(cellDifferences("tables", device, file), expected);
  EXPECT_TRUE(cellDifferences("tables", file, file).empty());
  EXPECT_EQ(expected[0].text(), "tables: T b: device 3, snapshot 9");
  EXPECT_EQ(expected[0].text({"a/", "b/"}), "tables: T b: a/ 3, b/ 9");
  EXPECT_EQ(cellsNamedIn(device, {{"T b", ""}}), (NamedCells{{"T b", "2"}, {"T b", "3"}}));
}

TEST(SnapshotCells, ValuesAreNumbersWhenTheyAreWholeSignedDecimals) {
  const struct {
    const char* text;
    const char* value;
  } cases[] = {{"120", "120"}, {"+07", "7"},       {"-5", "-5"},     {"+-5", "\"+-5\""},
               {"", "\"\""},   {"12a", "\"12a\""}, {" 1", "\" 1\""}, {"Desc1", "\"Desc1\""}};
  for (const auto& c : cases) EXPECT_EQ(cellValue(c.text), c.value) << c.text;
}

TEST(SnapshotFiles, TextsThatWouldNotReadBackAreRefusedAndKeptListsReadBack) {
  RejectTexts texts{"A", "B\nC", "", "", "", "", ""};
  std::string error;
  EXPECT_FALSE(rejectTextsFileText(texts, error));
  EXPECT_NE(error.find("reject text 2"), std::string::npos) << error;
  texts[1] = "B";
  EXPECT_EQ(rejectTextsFileText(texts, error).value_or(""), "A\r\nB\r\n\r\n\r\n\r\n\r\n\r\n");

  UserAccounts accounts;
  accounts[0] = {"adm", "secret", "Admin"};
  accounts[9] = {"op9", "x", "Nine"};
  const std::string without = userListText(accounts, false);
  EXPECT_EQ(without.substr(0, 11), "adm\tAdmin\r\n");
  const std::optional<UserList> kept = parseUserListKept(without, "users.txt", error);
  ASSERT_TRUE(kept) << error;
  EXPECT_FALSE(kept->passwords);
  EXPECT_EQ(kept->accounts[9].name, "Nine");
  EXPECT_EQ(kept->accounts[0].password, "");
  const std::optional<UserList> with =
      parseUserListKept(userListText(accounts, true), "users.txt", error);
  ASSERT_TRUE(with) << error;
  EXPECT_TRUE(with->passwords);
  EXPECT_EQ(with->accounts, accounts);
}

// A part that completes each read and write at the reply of its own code.
class FakePart final : public SnapshotPart {
 public:
  FakePart(std::string name, int code) : name_(std::move(name)), code_(code) {}
  std::string name() const override { return name_; }
  std::string fileName() const override { return name_ + ".txt"; }
  FileLimit fileLimit() const override { return {100, "a fake file"}; }
  void startRead() override { ++reads; }
  bool readComplete(int code) override {
    if (code != code_) return false;
    deviceRead(asBytes(device));
    return true;
  }
  bool saveFile(const std::string&, std::string&) override { return true; }
  bool takeFile(const std::string&, ByteView bytes, std::string&) override {
    fileTaken(bytes);
    return true;
  }
  std::optional<NamedCells> fileCells(ByteView bytes, std::string&) const override {
    return NamedCells{{"value", std::string(asText(bytes))}};
  }
  void startWrite() override { ++writes; }
  bool writeComplete(int code) override {
    if (code != code_) return false;
    device = written;
    return readComplete(code);
  }

  std::string device = "1";
  std::string written = "2";
  int reads = 0, writes = 0;

 private:
  std::string name_;
  int code_;
};

TEST(SnapshotRunTest, ARestoreCancelledStopsBeforeTheNextPartAndSaysWhatWasWritten) {
  FakePart a("a", 1), b("b", 2);
  SnapshotRun run(SnapshotRun::Goal::Restore, {&a, &b}, "");
  run.setFiles({Bytes{'2'}, Bytes{'2'}});
  run.start();
  run.replied(1);
  run.replied(2);  // both read and their files taken: writing a
  ASSERT_EQ(a.writes, 1);
  run.cancel();
  EXPECT_FALSE(run.done());  // the part under way finishes
  run.replied(1);
  EXPECT_TRUE(run.failed());
  EXPECT_TRUE(run.cancelled());
  EXPECT_EQ(run.error(), "cancelled; written to the device: a");
  EXPECT_EQ(b.writes, 0);
}

TEST(SnapshotRunTest, AReadBackThatDiffersIsReportedWithItsDifference) {
  FakePart a("a", 1);
  a.written = "3";  // the device keeps something else than it was sent
  SnapshotRun run(SnapshotRun::Goal::Restore, {&a}, "");
  run.setFiles({Bytes{'2'}});
  std::vector<std::string> lines;
  Subscription<const std::string&> keep(run.onLine,
                                        [&](const std::string& l) { lines.push_back(l); });
  run.start();
  run.replied(1);
  run.replied(1);
  ASSERT_TRUE(run.done());
  EXPECT_TRUE(run.readBackDiffers());
  EXPECT_EQ(lines, std::vector<std::string>{"a: read back differs in 1 value"});
  ASSERT_EQ(run.differences().size(), 1u);
  EXPECT_EQ(run.differences()[0].text(), "a: value: device 3, snapshot 2");
}

}  // namespace
