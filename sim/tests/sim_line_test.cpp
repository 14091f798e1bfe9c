// The simulator's side of the line simulator: the two forms of command 30,
// malformed requests refused, and an injected weight on the next box.
#include <gtest/gtest.h>

#include "le_bytes.h"
#include "line_injection.h"
#include "weight_trace.h"

namespace {

using rwsim::Bytes;
using rwsim::parseInjectedBarcode;

}  // namespace

TEST(SimLine, BarcodeOfOneOrTwoReadersAndMalformedOnesRefused) {
  auto one = parseInjectedBarcode(Bytes{0x02, 'A', 'B', 'C', 0x03});
  ASSERT_TRUE(one);
  EXPECT_EQ(one->reader, 0);
  EXPECT_EQ(one->text, "ABC");
  auto two = parseInjectedBarcode(Bytes{0x01, 0x02, 'A', 'B', 'C', 0x03});
  ASSERT_TRUE(two);
  EXPECT_EQ(two->reader, 1);
  EXPECT_EQ(two->text, "ABC");
  auto empty = parseInjectedBarcode(Bytes{0x00, 0x02, 0x03});
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->text, "");
  for (const Bytes& bad : {Bytes{}, Bytes{0x02}, Bytes{0x03}, Bytes{0x02, 'A'},
                           Bytes{0x05, 0x02, 'A', 0x03}, Bytes{0x01, 'A', 0x03}, Bytes{0x01, 0x03}})
    EXPECT_FALSE(parseInjectedBarcode(bad)) << bad.size();
}

TEST(SimLine, AnInjectedWeightReplacesTheNominalWeightOfTheNextBoxOnly) {
  // Before the box of this period arrives it is the next box; after, the following one.
  EXPECT_EQ(rwsim::SimWeightTrace::nextBox(1200 * 3 + 10), 3u);
  EXPECT_EQ(rwsim::SimWeightTrace::nextBox(1200 * 3 + 500), 4u);
  rwsim::SimWeightTrace trace(5);
  trace.injectWeight(1200 * 3 + 10, 1777);
  // The first reply holds the last 250 samples; its last one lies 799 ms into
  // box 3, after the box left the scale: the calculated weight is set.
  const Bytes reply = trace.reply(1200 * 3 + 800);
  ASSERT_EQ(reply.size(), 4u + 250u * 12u);
  const std::uint32_t word = rwsim::readLe32(reply, reply.size() - 4);
  EXPECT_NEAR(static_cast<int>(word >> 8), 1777, 2);
  // 600 ms into the box it still lies on the scale: the real weight.
  EXPECT_NEAR(static_cast<int>(rwsim::readLe32(reply, 4 + 50 * 12)), 1777, 6);
  // The box after it weighs what it always did.
  const rwsim::SimWeightTrace::Injected injected{{3, 1777}};
  const std::uint64_t box4 = 1200 * 4 + 800;
  EXPECT_EQ(rwsim::SimWeightTrace::sampleAt(box4, 5, &injected).calculated,
            rwsim::SimWeightTrace::sampleAt(box4, 5).calculated);
  EXPECT_NE(rwsim::SimWeightTrace::sampleAt(1200 * 3 + 800, 5).calculated,
            rwsim::SimWeightTrace::sampleAt(1200 * 3 + 800, 5, &injected).calculated);
}
