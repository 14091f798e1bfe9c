// The firmware file check: records, line cutting and the whole-file rules.
#include "firmware/intel_hex.h"

#include <gtest/gtest.h>

#include "../support/hex_image.h"

namespace vantor::test {
namespace {

ByteView view(const std::string& s) {
  return ByteView(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

struct RecordCase {
  const char* name;
  std::string line;
  const char* problem;  // a part of the reason, or nullptr for a good record
};

TEST(IntelHex, RecordsGoodAndBad) {
  const std::string good = hexRecord(0x00, 0x0100, {0x21, 0x46, 0x01, 0x36});
  std::string badSum = good;
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  std::string lower = good;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const RecordCase cases[] = {
      {"data", good, nullptr},
      {"lower-case digits", lower, nullptr},
      {"end of file", ":00000001FF", nullptr},
      {"extended linear address", hexRecord(0x04, 0, {0x00, 0x01}), nullptr},
      {"extended segment address", hexRecord(0x02, 0, {0x10, 0x00}), nullptr},
      {"start linear address", hexRecord(0x05, 0, {0, 0, 1, 0}), nullptr},
      {"start segment address", hexRecord(0x03, 0, {0, 0, 1, 0}), nullptr},
      {"empty data record", hexRecord(0x00, 0, {}), nullptr},
      {"no colon", good.substr(1), "does not start with ':'"},
      {"leading blank", " " + good.substr(1), "does not start with ':'"},
      {"checksum", badSum, "checksum"},
      {"not hex", ":0G000001FF", "character 3 is not a hex digit"},
      {"trailing blank", good + " ", "is not a hex digit"},
      {"odd digits", good + "0", "odd number of hex digits"},
      {"too short", ":000001", "too short"},
      {"colon only", ":", "too short"},
      {"count too high", ":0500000102F8", "byte count 5"},
      {"count too low", hexRecord(0x00, 0, {1, 2}).replace(1, 2, "01"), "byte count 1"},
      {"unknown type", hexRecord(0x06, 0, {}), "unknown record type 06"},
      {"end of file with data", hexRecord(0x01, 0, {0x00}), "record type 01 with 1"},
      {"address record of 3 bytes", hexRecord(0x04, 0, {0, 1, 2}), "record type 04 with 3"},
  };
  for (const RecordCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto problem = intelHexProblem(c.line);
    if (!c.problem) {
      EXPECT_FALSE(problem) << *problem;
    } else {
      ASSERT_TRUE(problem);
      EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
    }
  }
}

TEST(IntelHex, LineLengthLimitIs499Characters) {
  // 244 data bytes make a record of 1 + 2 * (5 + 244) = 499 characters.
  const std::string longest = hexRecord(0x00, 0, std::vector<uint8_t>(244, 0xA5));
  ASSERT_EQ(longest.size(), kMaxFirmwareLineChars);
  EXPECT_FALSE(intelHexProblem(longest));
  const std::string over = hexRecord(0x00, 0, std::vector<uint8_t>(245, 0xA5));
  const auto problem = intelHexProblem(over);
  ASSERT_TRUE(problem);
  EXPECT_EQ(*problem, "501 characters, at most 499 fit the device's line");
}

TEST(IntelHex, LinesAreCutTheSameForCrLfAndLf) {
  const std::string crlf = hexImage(100, 16, "\r\n");
  const std::string lf = hexImage(100, 16, "\n");
  const auto a = splitFirmwareLines(view(crlf));
  const auto b = splitFirmwareLines(view(lf));
  ASSERT_EQ(a.size(), 8u);  // 7 data records and the end
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].text, b[i].text);
    EXPECT_EQ(a[i].text.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(a[i].number, i + 1);
    EXPECT_EQ(a[i].fileBytes, b[i].fileBytes + 1);  // the carriage return counts
  }
}

TEST(IntelHex, EmptyLinesAreSkippedAndALastLineWithoutEndIsKept) {
  const std::string file = ":00000001FF\r\n\r\n\n:0000000";
  const auto lines = splitFirmwareLines(view(file));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, ":00000001FF");
  EXPECT_EQ(lines[0].number, 1u);
  EXPECT_EQ(lines[1].text, ":0000000");
  EXPECT_EQ(lines[1].number, 4u);
  EXPECT_EQ(lines[1].fileBytes, 8u);
}

TEST(IntelHex, WholeFileRules) {
  const std::string data = hexRecord(0x00, 0, {1, 2, 3});
  const std::string end = ":00000001FF";
  struct FileCase {
    const char* name;
    std::string file;
    const char* problem;  // exact, or nullptr for a good file
  };
  std::string damaged = hexImage(64);
  damaged[damaged.find("\r\n:") + 4] = 'X';  // second line, third character
  const FileCase cases[] = {
      {"good image", hexImage(4096), nullptr},
      {"no line end at the end", data + "\n" + end, nullptr},
      {"empty lines between", data + "\n\n\r\n" + end + "\n\n", nullptr},
      {"empty file", "", "the file holds no records"},
      {"only line ends", "\r\n\n", "the file holds no records"},
      {"no end record", data + "\n" + data + "\n",
       "line 2: the last record is not the "
       "end-of-file record"},
      {"end record twice", end + "\n" + end + "\n",
       "line 1: end-of-file record before the last line"},
      {"data after the end", data + "\n" + end + "\n" + data + "\n",
       "line 2: end-of-file record before the last line"},
      {"damaged second line", damaged, "line 2: character 3 is not a hex digit"},
      {"text file", "hello\n", "line 1: does not start with ':'"},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FirmwareFileCheck check = checkFirmwareFile(view(c.file));
    if (!c.problem) {
      EXPECT_TRUE(check.ok()) << check.problem;
    } else {
      EXPECT_EQ(check.problem, c.problem);
    }
  }
}

}  // namespace
}  // namespace vantor::test
