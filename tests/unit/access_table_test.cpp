#include "access/access_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace vantor;

TEST(AccessTable, HasTheThirtyThreeRowsOfTheSpecification) {
  EXPECT_EQ(accessTable().size(), 33u);
  std::set<std::string_view> names;
  for (const AccessRow& r : accessTable()) {
    EXPECT_TRUE(names.insert(r.control).second) << "duplicate " << r.control;
    EXPECT_GE(r.threshold, 1) << r.control;
    EXPECT_LE(r.threshold, 4) << r.control;
  }
}

TEST(AccessTable, RowsOfTheSpecification) {
  struct Case {
    const char* control;
    int threshold;
    AccessEffect effect;
  };
  const Case cases[] = {
      {"SetAuto", 1, AccessEffect::Enabled},
      {"TabQX7", 1, AccessEffect::Page},
      {"PanelSave", 2, AccessEffect::Enabled},
      {"TabPrinter", 2, AccessEffect::Page},
      {"Login", 2, AccessEffect::Page},
      {"SetSelLog", 2, AccessEffect::Visible},
      {"Reset", 3, AccessEffect::Visible},
      {"RecOpen", 3, AccessEffect::Visible},
      {"Reg", 3, AccessEffect::Page},
      {"CallFW", 3, AccessEffect::Enabled},
      {"SaveAllPar", 3, AccessEffect::Visible},
      {"SaveAllDef", 3, AccessEffect::Enabled},
      {"Label3", 4, AccessEffect::Visible},
      {"SpeedClk", 4, AccessEffect::Visible},
      {"MobOpen", 4, AccessEffect::Visible},
      {"Deb", 4, AccessEffect::Page},
      {"System", 4, AccessEffect::Page},
      {"SelAuto", 4, AccessEffect::Enabled},
      {"GroupProgFile", 4, AccessEffect::Visible},
  };
  for (const Case& c : cases) {
    const AccessRow* row = findAccessRow(c.control);
    ASSERT_NE(row, nullptr) << c.control;
    EXPECT_EQ(row->threshold, c.threshold) << c.control;
    EXPECT_EQ(row->effect, c.effect) << c.control;
  }
}

TEST(AccessTable, PagesAndControlsNotListedAreAlwaysAvailable) {
  for (const char* name : {"System2", "TabProduto", "PesoPage", "LanOn", "LanOff", "Host", "DebFl"})
    EXPECT_EQ(findAccessRow(name), nullptr) << name;
}

TEST(AccessTable, GrantedExactlyFromTheThreshold) {
  for (const AccessRow& r : accessTable()) {
    for (uint8_t level = 0; level <= 4; ++level)
      EXPECT_EQ(accessGranted(r, level), level >= r.threshold) << r.control << " at " << int(level);
  }
}

TEST(AccessTable, LevelZeroShowsOnlyTheBasicPages) {
  int pages = 0;
  for (const AccessRow& r : accessTable()) {
    if (r.effect == AccessEffect::Page) {
      ++pages;
      EXPECT_FALSE(accessGranted(r, 0)) << r.control;
    }
  }
  EXPECT_EQ(pages, 6);  // of nine: System2, TabProduto and PesoPage stay
}
