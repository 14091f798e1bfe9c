// The simulator's boot loader: the answers of both modes, the record check,
// the status sequence of a write, and its two fault modes.
#include <gtest/gtest.h>

#include "boot_loader.h"

namespace rwsim {
namespace {

using Effect = BootAnswer::Effect;

const char* const kGood = ":0400000001020304F2";
const char* const kBad = ":0400000001020304F3";

std::string reply(BootLoader& boot, std::string_view request, std::int64_t now = 0,
                  const FaultSet& faults = {}) {
  const BootAnswer a = boot.handle(request, now, faults);
  return a.reply.value_or("<none>");
}

TEST(SimBootLoader, TheApplicationKnowsOnlyTheVersionAndBootMode) {
  BootLoader boot;
  EXPECT_EQ(reply(boot, "F"), std::string("0") + kApplicationVersion);
  EXPECT_EQ(reply(boot, "U0"), "1");
  EXPECT_EQ(reply(boot, kGood), "1");
  const BootAnswer b = boot.handle("B", 0, {});
  EXPECT_EQ(b.reply, "0");
  EXPECT_EQ(b.effect, Effect::RestartIntoBoot);
}

TEST(SimBootLoader, AnUploadIsCheckedWrittenAndReported) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    const char* lineReplies;
    const char* finalStatus;
  };
  const Case cases[] = {
      {"good", {kGood, ":00000001FF"}, "00", "04"},
      {"bad record", {kGood, kBad, ":00000001FF"}, "010", "03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BootLoader boot;
    boot.start(BootMode::Boot);
    EXPECT_EQ(reply(boot, "F"), std::string("0") + kBootVersion);
    EXPECT_EQ(reply(boot, "S"), "00");
    EXPECT_EQ(reply(boot, "U0"), "0");
    std::string answers;
    for (const std::string& line : c.lines) answers += reply(boot, line);
    EXPECT_EQ(answers, c.lineReplies);
    EXPECT_EQ(reply(boot, "W", 1000), "0");
    EXPECT_EQ(reply(boot, "S", 1000), "01");
    EXPECT_EQ(reply(boot, "S", 1100), "02");
    EXPECT_EQ(reply(boot, "S", 1300), std::string(c.finalStatus));
    EXPECT_EQ(boot.imagesWritten(), c.finalStatus == std::string("04") ? 1u : 0u);
    const BootAnswer r = boot.handle("R", 1400, {});
    EXPECT_FALSE(r.reply);
    EXPECT_EQ(r.effect, Effect::RestartIntoApplication);
  }
}

TEST(SimBootLoader, FaultModesRefuseTheTenthLineAndDropTheFiftiethOnce) {
  FaultSet nak;
  ASSERT_FALSE(nak.add("boot-nak"));
  BootLoader boot;
  boot.start(BootMode::Boot);
  reply(boot, "U0", 0, nak);
  std::string answers;
  for (int i = 0; i < 12; ++i) answers += reply(boot, kGood, 0, nak);
  EXPECT_EQ(answers, "000000000100");

  FaultSet drop;
  ASSERT_FALSE(drop.add("boot-drop"));
  boot.start(BootMode::Boot);
  for (int upload = 0; upload < 2; ++upload) {
    reply(boot, "U0", 0, drop);
    int dropped = 0;
    for (int i = 0; i < 60; ++i)
      dropped += boot.handle(kGood, 0, drop).effect == Effect::DropConnection;
    EXPECT_EQ(dropped, upload == 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace rwsim
