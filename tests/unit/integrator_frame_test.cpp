#include "peripherals/integrator_frame.h"

#include <gtest/gtest.h>

#include "fakes.h"

using namespace vantor;
using namespace vantor::test;

namespace {

struct Recorder final : IntegratorSink {
  std::vector<std::string> texts;
  std::vector<std::string> rejects;  // "why: decimal bytes"
  void integratorMessage(std::string_view text, ByteView) override { texts.emplace_back(text); }
  void integratorRejected(const char* why, ByteView bytes) override {
    rejects.push_back(std::string(why) + ": " + decimalBytes(bytes));
  }
};

Bytes framed(const std::string& text) { return frameIntegratorText(text); }

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace

TEST(IntegratorFrame, FramesTheTextWithStxEtxAndTheXorOfTheText) {
  EXPECT_EQ(framed("502\t"), hex("02 35 30 32 09 03 3E"));
  EXPECT_EQ(framed("550\t").back(), 0x39);
  EXPECT_EQ(framed("").size(), 3u);
  EXPECT_EQ(decimalBytes(hex("02 FF 00")), "2\t255\t0\t");
}

// However the stream is cut, the same messages come out once each.
TEST(IntegratorReader, CutsTheSameMessagesWholeByteByByteAndInSlices) {
  const Bytes stream = join({framed("084\x06"
                                    "1"),
                             framed("544\x06"
                                    "1\t2"),
                             framed("601\ta\tb")});
  for (size_t slice : {stream.size(), size_t{1}, size_t{2}, size_t{7}}) {
    SCOPED_TRACE(slice);
    IntegratorReader reader;
    Recorder r;
    for (size_t at = 0; at < stream.size(); at += slice)
      reader.feed(ByteView(stream).subspan(at, std::min(slice, stream.size() - at)), 0, r);
    EXPECT_EQ(r.texts, (std::vector<std::string>{"084\x06"
                                                 "1",
                                                 "544\x06"
                                                 "1\t2",
                                                 "601\ta\tb"}));
    EXPECT_TRUE(r.rejects.empty());
    EXPECT_TRUE(reader.idle());
  }
}

TEST(IntegratorReader, SkipsAndReportsWhatIsNotAGoodMessage) {
  struct Case {
    const char* name;
    Bytes input;
    std::vector<std::string> texts;
    std::vector<std::string> rejects;
  };
  Bytes badBcc = framed("060");
  badBcc.back() ^= 0xFF;
  const Case cases[] = {
      {"bytes before the STX", join({hex("41 42"), framed("074")}), {"074"}, {"no STX: 65\t66\t"}},
      {"bad BCC, then a good one",
       join({badBcc, framed("063")}),
       {"063"},
       {"bad BCC: 2\t48\t54\t48\t3\t" + std::to_string(badBcc.back()) + "\t"}},
      {"a message restarted by a new STX",
       join({hex("02 30 31"), framed("080")}),
       {"080"},
       {"no ETX before the next STX: 2\t48\t49\t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IntegratorReader reader;
    Recorder r;
    reader.feed(c.input, 0, r);
    EXPECT_EQ(r.texts, c.texts);
    EXPECT_EQ(r.rejects, c.rejects);
  }
}

TEST(IntegratorReader, DropsAPartialMessageOlderThanOneSecond) {
  IntegratorReader reader;
  Recorder r;
  const Bytes m = framed("041");
  reader.feed(ByteView(m).first(3), 0, r);
  reader.expire(1000, r);
  EXPECT_TRUE(r.rejects.empty()) << "exactly 1000 ms is still in time";
  reader.expire(1001, r);
  ASSERT_EQ(r.rejects.size(), 1u);
  EXPECT_EQ(r.rejects[0], "partial message dropped after 1000 ms: 2\t48\t52\t");
  // The rest arriving later is no message of its own.
  reader.feed(ByteView(m).subspan(3), 1002, r);
  EXPECT_TRUE(r.texts.empty());
  reader.feed(m, 1003, r);
  EXPECT_EQ(r.texts, std::vector<std::string>{"041"});
}

TEST(IntegratorReader, DropsATextOver3000BytesAndReadsTheNextMessage) {
  IntegratorReader reader;
  Recorder r;
  const std::string longest(IntegratorReader::kMaxText, 'x');
  reader.feed(framed(longest), 0, r);
  ASSERT_EQ(r.texts.size(), 1u) << "3000 bytes are accepted";
  reader.feed(join({framed(longest + "y"), framed("082")}), 0, r);
  ASSERT_EQ(r.texts.size(), 2u);
  EXPECT_EQ(r.texts[1], "082");
  ASSERT_EQ(r.rejects.size(), 1u);
  EXPECT_EQ(r.rejects[0].rfind("message over 3000 bytes dropped: 2\t120\t", 0), 0u);
}

TEST(IntegratorReader, ClearForgetsAPartialMessage) {
  IntegratorReader reader;
  Recorder r;
  reader.feed(hex("02 30 34"), 0, r);
  reader.clear();
  reader.feed(framed("047"), 0, r);
  EXPECT_EQ(r.texts, std::vector<std::string>{"047"});
  EXPECT_TRUE(r.rejects.empty());
}
