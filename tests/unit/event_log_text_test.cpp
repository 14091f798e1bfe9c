// The event-log decoder: the image of the log area in, the file text out.
#include "monitor/event_log_text.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

constexpr uint32_t kBase = 0x20010000;

// A log area image holding these (identifier, time word) events.
Bytes logImage(const std::vector<std::pair<uint8_t, uint32_t>>& events, uint32_t base = kBase) {
  Bytes image(kLogImageBytes, 0);
  const uint32_t end = base + 12 + static_cast<uint32_t>(events.size());
  for (int k = 0; k < 4; ++k) image[4 + k] = static_cast<uint8_t>(end >> (8 * k));
  for (size_t i = 0; i < events.size(); ++i) {
    image[12 + i] = events[i].first;
    for (int k = 0; k < 4; ++k)
      image[100012 + 4 * i + k] = static_cast<uint8_t>(events[i].second >> (8 * k));
  }
  return image;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

}  // namespace

TEST(EventLogText, EmptyLogHasTheTwoHeadingLinesOnly) {
  const std::string text = eventLogText(logImage({}), kBase, " RW4000 SIM 8.10", "127.0.0.180");
  EXPECT_EQ(text, " RW4000 SIM 8.10\tIP:127.0.0.180\r\nN LOG: 0\r\n");
}

TEST(EventLogText, ResetTimesAreTheBaseOfTheEventsAfterThem) {
  const auto l = lines(
      eventLogText(logImage({{0, 3723456}, {6, 1000}, {0, 90000000}, {7, 0}}), kBase, "id", "h"));
  ASSERT_EQ(l.size(), 6u);
  EXPECT_EQ(l[1], "N LOG: 4");
  EXPECT_EQ(l[2], "     0\tID:00\tTime: 1: 2: 3.456\t***RESET***");
  EXPECT_EQ(l[3], "     1\tID:06\tD: 0 T: 1:02:04.456\t\t\tPeso");
  // 25 hours in the reset's own line, not reduced to a day.
  EXPECT_EQ(l[4], "     2\tID:00\tTime:25: 0: 0.000\t***RESET***");
  EXPECT_EQ(l[5], "     3\tID:07\tD: 1 T: 1:00:00.000\t W UP");
}

TEST(EventLogText, EveryIdentifierHasItsLine) {
  struct Case {
    uint8_t id;
    uint32_t word;
    const char* line;
  };
  const Case cases[] = {
      {1, 0x07EA0C0A, "     0\tID:01\tDate:10/12/2026\t*********"},
      {2, 5, "     0\tID:02\tD: 0 T: 0:00:00.005\t BarCode1"},
      {3, 61001, "     0\tID:03\tD: 0 T: 0:01:01.001\t BarCode2"},
      {4, 0, "     0\tID:04\tD: 0 T: 0:00:00.000\t\t\t\t\tPrint INI"},
      {5, 0, "     0\tID:05\tD: 0 T: 0:00:00.000\t\t\t\t\tPrint FIN"},
      {8, 0, "     0\tID:08\tD: 0 T: 0:00:00.000\t\tIN H BAL"},
      {11, 0, "     0\tID:0b\tD: 0 T: 0:00:00.000\t\tIN H APL"},
      {13, 0, "     0\tID:0d\tD: 0 T: 0:00:00.000\t\tIN L RJT"},
      {16, 0, "     0\tID:10\tD: 0 T: 0:00:00.000\t\t\t\tOUT H RJT"},
      {19, 0, "     0\tID:13\tD: 0 T: 0:00:00.000\t\t\t\tOUT H RED"},
      {31, 0, "     0\tID:1f\tD: 0 T: 0:00:00.000\t\t\t\tOUT L   7"},
      {40, 0, "     0\tID:28\tD: 0 T: 0:00:00.000\t KEY  ON   3"},
      {47, 0, "     0\tID:2f\tD: 0 T: 0:00:00.000\t KEY  ON  DW"},
      {59, 0, "     0\tID:3b\tD: 0 T: 0:00:00.000\t KEY OFF ENT"},
      {64, 0, "     0\tID:40\tD: 0 T: 0:00:00.000\t"},
      {255, 4294967295u, "     0\tID:ff\tD:49 T:17:02:47.295\t"},
  };
  for (const Case& c : cases) {
    const auto l = lines(eventLogText(logImage({{c.id, c.word}}), kBase, "id", "h"));
    ASSERT_EQ(l.size(), 3u) << int(c.id);
    EXPECT_EQ(l[2], c.line) << int(c.id);
  }
}

TEST(EventLogText, ACountOutsideTheArrayIsClampedAndSaysSo) {
  struct Case {
    uint32_t end;
    const char* heading;
    size_t lines;
  };
  const Case cases[] = {
      {kBase, "N LOG: 0 (clamped from -12)", 2},
      {kBase + 12 + 100001, "N LOG: 100000 (clamped from 100001)", 100002},
      {kBase + 12 + 100000, "N LOG: 100000", 100002},
      {kBase - 1, "N LOG: 0 (clamped from -13)", 2},
  };
  for (const Case& c : cases) {
    Bytes image = logImage({});
    for (int k = 0; k < 4; ++k) image[4 + k] = static_cast<uint8_t>(c.end >> (8 * k));
    const auto l = lines(eventLogText(image, kBase, "id", "h"));
    ASSERT_EQ(l.size(), c.lines);
    EXPECT_EQ(l[1], c.heading);
  }
}

TEST(EventLogText, AShortImageReadsAsZerosPastItsEnd) {
  Bytes image = logImage({{2, 7}, {6, 8}});
  image.resize(100012 + 4);  // the second time word is missing
  const auto l = lines(eventLogText(image, kBase, "id", "h"));
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[2], "     0\tID:02\tD: 0 T: 0:00:00.007\t BarCode1");
  EXPECT_EQ(l[3], "     1\tID:06\tD: 0 T: 0:00:00.000\t\t\tPeso");
}

TEST(EventLogText, FileNameIsTheCaptionInTheDataDirectory) {
  EXPECT_EQ(eventLogPath("c:/Harbo/", "RW4000 Vantor8.10"), "c:/Harbo/RW4000 Vantor8.10.log");
}
