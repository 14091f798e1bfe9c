#include "access/access_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device.h"
#include "fakes.h"

using namespace vantor;

namespace {

struct Watched {
  Shell shell;
  std::vector<Area> changes;
  AccessControl access{shell};
  Watched() {
    shell.onChange.connect([this](Area a) { changes.push_back(a); });
  }
  bool accessApplied() const {
    for (Area a : changes)
      if (a == Area::Access) return true;
    return false;
  }
};

}  // namespace

TEST(AccessLevelName, NamesOfTheFiveLevels) {
  EXPECT_EQ(accessLevelName(0), "NO USER");
  EXPECT_EQ(accessLevelName(1), "OPERATIONAL USER");
  EXPECT_EQ(accessLevelName(2), "MAINTENANCE USER");
  EXPECT_EQ(accessLevelName(3), "SERVICE USER");
  EXPECT_EQ(accessLevelName(4), "$$$");
  EXPECT_EQ(accessLevelName(5), "");
  for (uint8_t l = 0; l <= 4; ++l)
    EXPECT_LT(accessLevelName(l).size(), 20u) << "fits a 20-byte slot";
}

TEST(AccessControl, StartsAtLevelZeroWithTheBuiltInCodes) {
  Watched w;
  EXPECT_EQ(w.access.level(), 0);
  for (uint8_t l = 1; l <= 4; ++l) EXPECT_EQ(w.access.code(l), "Velmor") << int(l);
  EXPECT_EQ(w.access.code(0), "");
  EXPECT_EQ(w.access.code(5), "");
}

TEST(AccessControl, LoginDecision) {
  struct Case {
    const char* what;
    std::vector<std::string> deviceCodes;  // empty: none sent yet
    std::string password;
    uint8_t level;
  };
  const std::vector<Case> cases = {
      {"built-in codes: all four equal, the last wins", {}, "Velmor", 4},
      {"wrong case", {}, "velmor", 0},
      {"prefix only", {}, "Velm", 0},
      {"longer text", {}, "Velmor ", 0},
      {"empty password against built-in codes", {}, "", 0},
      {"device code of level 1", {"op1", "mnt2", "srv3"}, "op1", 1},
      {"device code of level 2", {"op1", "mnt2", "srv3"}, "mnt2", 2},
      {"device code of level 3", {"op1", "mnt2", "srv3"}, "srv3", 3},
      {"level 4 code after device codes", {"op1", "mnt2", "srv3"}, "Velmor", 4},
      {"old built-in code no longer opens level 1", {"op1", "mnt2", "srv3"}, "Velmorx", 0},
      {"equal codes of 1 and 2: the higher wins", {"same", "same", "srv3"}, "same", 2},
      {"device code equal to level 4's: level 4", {"Velmor", "b", "c"}, "Velmor", 4},
      {"empty device code never matches an empty password", {"", "", ""}, "", 0},
      {"empty code of level 1 leaves level 2 reachable", {"", "two", ""}, "two", 2},
      {"code cut at its first zero byte", {std::string("ab\0cd", 5), "x", "y"}, "ab", 1},
      {"code cut to 9 characters", {"1234567890", "x", "y"}, "123456789", 1},
      {"the full 10 characters do not match", {"1234567890", "x", "y"}, "1234567890", 0},
  };
  for (const Case& c : cases) {
    Watched w;
    if (!c.deviceCodes.empty())
      w.access.setDeviceCodes(c.deviceCodes[0], c.deviceCodes[1], c.deviceCodes[2]);
    EXPECT_EQ(w.access.levelFor(c.password), c.level) << c.what;
  }
}

TEST(AccessControl, ApplyWritesTheNameIntoStatusPanel2AndAsksForTheTable) {
  Watched w;
  w.access.setLevel(3);
  EXPECT_TRUE(w.shell.statusBar[2].empty()) << "setting alone does not apply";
  w.access.apply();
  EXPECT_EQ(w.shell.statusBar[2], "SERVICE USER");
  EXPECT_TRUE(w.accessApplied());
}

TEST(AccessControl, ALevelAboveFourIsTakenAsZero) {
  Watched w;
  w.access.setLevel(4);
  w.access.setLevel(9);
  EXPECT_EQ(w.access.level(), 0);
}

TEST(AccessControl, DoubleClickAtLevelZeroAsksForThePassword) {
  Watched w;
  EXPECT_TRUE(w.access.FormDblClick());
  EXPECT_FALSE(w.accessApplied()) << "nothing changes before the dialog closes";
  w.access.passwordDialogClosed("Velmor");
  EXPECT_EQ(w.access.level(), 4);
  EXPECT_EQ(w.shell.statusBar[2], "$$$");
}

TEST(AccessControl, DoubleClickAboveZeroLogsOutWithoutTheDialog) {
  Watched w;
  w.access.setDeviceCodes("a", "b", "c");
  ASSERT_TRUE(w.access.FormDblClick());
  w.access.passwordDialogClosed("b");
  ASSERT_EQ(w.access.level(), 2);
  EXPECT_EQ(w.shell.statusBar[2], "MAINTENANCE USER");
  w.changes.clear();
  EXPECT_FALSE(w.access.FormDblClick());
  EXPECT_EQ(w.access.level(), 0);
  EXPECT_EQ(w.shell.statusBar[2], "NO USER");
  EXPECT_TRUE(w.accessApplied());
}

TEST(AccessControl, AWrongPasswordGivesLevelZeroSilently) {
  Watched w;
  w.access.FormDblClick();
  w.access.passwordDialogClosed("nope");
  EXPECT_EQ(w.access.level(), 0);
  EXPECT_EQ(w.shell.statusBar[2], "NO USER");
  EXPECT_TRUE(w.shell.errorBar[1].empty());
}

TEST(AccessControl, TheUserChangeHookRunsAfterLoginAndLogout) {
  Watched w;
  int calls = 0;
  uint8_t seen = 99;
  w.access.afterUserChange = [&] {
    ++calls;
    seen = w.access.level();
  };
  w.access.FormDblClick();
  EXPECT_EQ(calls, 0);
  w.access.passwordDialogClosed("Velmor");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, 4);
  w.access.FormDblClick();
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(seen, 0);
}

TEST(AccessControl, DisconnectDropsLevelsOneToThreeAndKeepsFour) {
  for (uint8_t level = 0; level <= 4; ++level) {
    Watched w;
    w.access.setLevel(level);
    w.access.mainDisconnected();
    EXPECT_EQ(w.access.level(), level == 4 ? 4 : 0) << int(level);
    if (level < 4) {
      EXPECT_EQ(w.shell.statusBar[2], "NO USER");
    }
  }
}

TEST(AccessControl, DeviceCodesSurviveADisconnect) {
  Watched w;
  w.access.setDeviceCodes("a", "b", "c");
  w.access.mainDisconnected();
  EXPECT_EQ(w.access.code(2), "b");
}

TEST(AccessControl, TheDeviceDisconnectEventDropsTheLevel) {
  test::FakeSeams seams;
  Device device(seams);
  auto& lan2 = *seams.sockets[0];
  device.connection.controls.host = "127.0.0.9";
  device.connection.LanOnClick();
  lan2.connect();
  device.access.setLevel(3);
  lan2.close();  // the established link ends
  EXPECT_EQ(device.access.level(), 0);
  EXPECT_EQ(device.shell.statusBar[2], "NO USER");
  EXPECT_EQ(device.shell.errorBar[0], "Sconect Master");

  device.connection.LanOnClick();
  lan2.connect();
  device.access.setLevel(4);
  lan2.close();
  EXPECT_EQ(device.access.level(), 4);
}
