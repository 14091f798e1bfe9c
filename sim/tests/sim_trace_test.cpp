// The simulated weight trace: block sizes per request and the shape of a box.

#include <gtest/gtest.h>

#include "command_line.h"
#include "le_bytes.h"
#include "weight_trace.h"

namespace {

using rwsim::SimWeightTrace;

std::uint32_t countOf(const rwsim::Bytes& payload) { return rwsim::readLe32(payload, 0); }

TEST(SimWeightTrace, RepliesCarryTheSamplesAccruedSinceThePreviousRequest) {
  SimWeightTrace trace(5);
  struct Step {
    const char* what;
    std::uint64_t uptimeMs;
    bool reconnect;
    std::uint32_t count;
  };
  const Step steps[] = {
      {"the first request gets the last 250", 5000, false, 250},
      {"then what accrued", 5300, false, 300},
      {"nothing new", 5300, false, 0},
      {"at most the newest 1000", 9000, false, 1000},
      {"a new connection starts with 250 again", 9100, true, 250},
      {"shortly after power-on, what there is", 100, true, 100},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.reconnect) trace.connected();
    const rwsim::Bytes payload = trace.reply(s.uptimeMs);
    ASSERT_EQ(payload.size(), 4 + 12 * std::size_t{countOf(payload)});
    EXPECT_EQ(countOf(payload), s.count);
    if (s.count > 0) {  // the newest sample is the one just before the uptime
      const auto last = SimWeightTrace::sampleAt(s.uptimeMs - 1, 5);
      EXPECT_EQ(static_cast<std::int32_t>(rwsim::readLe32(payload, payload.size() - 12)),
                last.real);
    }
  }
}

TEST(SimWeightTrace, ABoxRaisesTheWeightUnderTheSensorThenSetsTheCalculatedWeight) {
  const std::uint32_t seed = 42;
  for (std::uint64_t box = 0; box < 5; ++box) {
    const std::uint64_t start = box * SimWeightTrace::kBoxPeriod;
    const std::int32_t nominal = SimWeightTrace::nominal(box, seed);
    std::uint64_t sensorOn = 0, barcode = 0, validCode = 0, out1 = 0;
    for (std::uint64_t p = 0; p < SimWeightTrace::kBoxPeriod; ++p) {
      const auto s = SimWeightTrace::sampleAt(start + p, seed);
      sensorOn += s.flags & 1;
      barcode += (s.flags >> 4) & 1;
      validCode += (s.flags >> 5) & 1;
      out1 += (s.flags >> 1) & 1;
      if (p == 500) {
        EXPECT_NEAR(s.real, nominal, 6);
        EXPECT_EQ(s.filtered, nominal);
        EXPECT_EQ(s.flags & 1, 1);
      }
      if (p == 800) {
        EXPECT_NEAR(s.calculated, nominal, 2);
      }
      if (p == 100) {
        EXPECT_NEAR(s.real, 0, 2);
      }
    }
    EXPECT_EQ(sensorOn, 500u);
    EXPECT_GT(barcode, 0u);
    EXPECT_GT(validCode, 0u);
    EXPECT_GT(out1, 0u);
  }
  EXPECT_NE(SimWeightTrace::sampleAt(500, 1).real, SimWeightTrace::sampleAt(500, 2).real);
  EXPECT_EQ(SimWeightTrace::sampleAt(777, 3).real, SimWeightTrace::sampleAt(777, 3).real);
}

}  // namespace

namespace {

TEST(SimWeightTrace, TheSeedComesFromTheCommandLine) {
  EXPECT_EQ(rwsim::CommandLine::parse({}).seed, 1u);
  EXPECT_EQ(rwsim::CommandLine::parse({"--seed", "4294967295"}).seed, 4294967295u);
  EXPECT_EQ(rwsim::CommandLine::parse({"--seed=12"}).seed, 12u);
  for (const QStringList& bad : {QStringList{"--seed"}, QStringList{"--seed", "x"},
                                 QStringList{"--seed", "-1"}, QStringList{"--seed=4294967296"}}) {
    EXPECT_EQ(rwsim::CommandLine::parse(bad).outcome, rwsim::CommandLine::Outcome::Error)
        << qPrintable(bad.join(' '));
  }
}

}  // namespace
