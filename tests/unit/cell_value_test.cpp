#include "config/cell_value.h"

#include <gtest/gtest.h>

#include "config/split_tab_fields.h"

using namespace vantor;

TEST(CellValue, AcceptsEveryIntegerFromMinusTwoToTheThirtyOneToTwoToTheThirtyTwoMinusOne) {
  struct Case {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {
      {"0", 0u},
      {"12", 12u},
      {"+12", 12u},
      {"  12  ", 12u},
      {"-1", 0xFFFFFFFFu},
      {"-2147483648", 0x80000000u},
      {"2147483648", 0x80000000u},  // shown unsigned, so it must be typed back the same way
      {"4294967295", 0xFFFFFFFFu},
      {"0004294967295", 0xFFFFFFFFu},
      {"-0", 0u},
      {"4294967296", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"1 2", std::nullopt},
      {"12a", std::nullopt},
      {"0x10", std::nullopt},
      {"1.5", std::nullopt},
      {"--1", std::nullopt},
      {"\t12", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseCell32(c.text), c.value) << '"' << c.text << '"';
}

TEST(CellValue, AFailedConversionRaisesTheStandardMessageAndShowsUnsigned) {
  EXPECT_EQ(cellValue32("-1"), 0xFFFFFFFFu);
  try {
    cellValue32("abc");
    FAIL();
  } catch (const CellConversionError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    EXPECT_EQ(e.cell(), "abc");
  }
  EXPECT_EQ(cellText(0xFFFFFFFFu), "4294967295");
  EXPECT_EQ(cellText(0), "0");
}

TEST(SplitTabFields, CutsAtEveryTabAndAtTheEndIntoAtMost44Fields) {
  using F = std::vector<std::string_view>;
  struct Case {
    std::string line;
    F fields;
  } cases[] = {
      {"", {}},
      {"abc", {"abc"}},
      {"\tname\t12", {"", "name", "12"}},
      {"\t", {"", ""}},
      {"a\t\tb", {"a", "", "b"}},
      {"a\t", {"a", ""}},
      {"x y\tz", {"x y", "z"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitTabFields(c.line), c.fields) << c.line;

  std::string many;
  for (int i = 0; i < 50; ++i) many += std::to_string(i) + "\t";
  const F fields = splitTabFields(many);
  ASSERT_EQ(fields.size(), kMaxTabFields);
  EXPECT_EQ(fields.front(), "0");
  EXPECT_EQ(fields.back(), "43");
}
