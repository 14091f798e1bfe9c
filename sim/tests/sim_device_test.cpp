// Checks of the simulated device without sockets: framing of the request
// stream, reply layout, and the byte-level fault modes.

#include "sim_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "command_line.h"
#include "control_line.h"
#include "fault_set.h"
#include "frame_codec.h"
#include "status_block.h"

namespace {

using rwsim::Bytes;
using rwsim::Frame;

// The first status request a tool sends after connecting, byte for byte.
const Bytes kFirstStatusRequest{0x02, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x33, 0x00, 0x35, 0x03};

// Reads a reply straight from the wire layout, without the codec under test.
struct WireReply {
  explicit WireReply(const Bytes& f) : bytes(f) {
    EXPECT_GE(f.size(), 12u);
    parNum = static_cast<std::size_t>(f[5] << 8 | f[6]);
    EXPECT_EQ(f.size(), parNum + 11);
    unsigned sum = 0;
    for (std::size_t i = 1; i <= parNum + 7; ++i) {
      sum += f[i];
    }
    checksumOk = f[parNum + 8] == ((sum >> 8) & 0xFF) && f[parNum + 9] == (sum & 0xFF);
  }
  std::uint8_t stx() const { return bytes[0]; }
  std::uint8_t etx() const { return bytes.back(); }
  std::uint16_t counter() const { return static_cast<std::uint16_t>(bytes[3] << 8 | bytes[4]); }
  std::uint8_t command() const { return bytes[7]; }
  std::uint8_t ack() const { return bytes[8]; }
  Bytes payload() const { return Bytes(bytes.begin() + 9, bytes.end() - 3); }

  Bytes bytes;
  std::size_t parNum = 0;
  bool checksumOk = false;
};

template <typename T>
T readLe(const Bytes& payload, std::size_t offset) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    value |= static_cast<std::uint64_t>(payload[offset + i]) << (8 * i);
  }
  return static_cast<T>(value);
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) {
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

std::vector<Frame> frameAll(const std::vector<Bytes>& chunks) {
  rwsim::FrameReader reader;
  std::vector<Frame> frames;
  for (const Bytes& chunk : chunks) {
    reader.append(chunk);
    while (auto frame = reader.next()) {
      frames.push_back(*frame);
    }
  }
  return frames;
}

struct FakeClock {
  std::uint64_t ms = 0;
  rwsim::SimDevice::Clock clock() {
    return [this] { return ms; };
  }
};

TEST(FrameCodec, WorkedExampleDecodesAndEncodes) {
  const Frame expected{1, 0x33, {}};
  EXPECT_EQ(frameAll({kFirstStatusRequest}), std::vector<Frame>{expected});
  EXPECT_EQ(rwsim::encodeFrame(expected), kFirstStatusRequest);
}

TEST(FrameCodec, RequestStreamFraming) {
  const Frame version{2, 70, {}};
  const Frame withParams{3, 62, {0x10, 0x02, 0x03, 0xFF}};  // an STX inside parameters
  const Bytes versionBytes = rwsim::encodeFrame(version);
  const Bytes paramBytes = rwsim::encodeFrame(withParams);
  Bytes badChecksum = kFirstStatusRequest;
  badChecksum[9] ^= 0x01;
  Bytes badEtx = paramBytes;
  badEtx.back() = 0x00;
  const Frame status{1, 0x33, {}};

  struct Case {
    const char* name;
    std::vector<Bytes> chunks;
    std::vector<Frame> expected;
  };
  const Case cases[] = {
      {"two in one read", {concat({kFirstStatusRequest, versionBytes})}, {status, version}},
      {"parameters split in three",
       {Bytes(paramBytes.begin(), paramBytes.begin() + 3),
        Bytes(paramBytes.begin() + 3, paramBytes.begin() + 10),
        Bytes(paramBytes.begin() + 10, paramBytes.end())},
       {withParams}},
      {"garbage before", {concat({{0xFF, 0x00, 0x17, 0x03}, kFirstStatusRequest})}, {status}},
      {"lone STX before", {concat({{0x02, 0x55, 0x02}, kFirstStatusRequest})}, {status}},
      {"bad checksum skipped", {concat({badChecksum, versionBytes})}, {version}},
      {"missing ETX skipped", {concat({badEtx, kFirstStatusRequest})}, {status}},
      {"truncated frame waits", {Bytes(paramBytes.begin(), paramBytes.end() - 1)}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(frameAll(c.chunks), c.expected) << c.name;
  }

  // Every single cut of a three-frame stream still yields the three frames.
  const Bytes stream = concat({kFirstStatusRequest, paramBytes, versionBytes});
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    const std::vector<Bytes> chunks{Bytes(stream.begin(), stream.begin() + static_cast<long>(cut)),
                                    Bytes(stream.begin() + static_cast<long>(cut), stream.end())};
    EXPECT_EQ(frameAll(chunks), (std::vector<Frame>{status, withParams, version})) << "cut " << cut;
  }
}

TEST(SimDevice, StatusReplyLayout) {
  FakeClock clock;
  rwsim::SimDevice device(clock.clock());
  clock.ms = 123456;
  const WireReply reply(device.reply(Frame{1, 51, {}}));
  EXPECT_EQ(reply.stx(), 0x02);
  EXPECT_EQ(reply.bytes[1], 0x00);
  EXPECT_EQ(reply.bytes[2], 0x01);
  EXPECT_EQ(reply.parNum, 57u);
  EXPECT_EQ(reply.command(), 51);
  EXPECT_EQ(reply.ack(), 0x06);
  EXPECT_TRUE(reply.checksumOk);
  EXPECT_EQ(reply.etx(), 0x03);
  ASSERT_EQ(reply.payload().size(), 56u);
  EXPECT_EQ(readLe<std::uint32_t>(reply.payload(), 4), 123u) << "T counts uptime seconds";

  std::set<std::uint8_t> menuLines;
  std::set<std::uint8_t> barFields;
  std::vector<std::set<std::int32_t>> weights(6);
  bool sawNegative = false;
  for (clock.ms = 0; clock.ms <= 120000; clock.ms += 500) {
    const Bytes payload = WireReply(device.reply(Frame{1, 51, {}})).payload();
    menuLines.insert(payload[14]);
    barFields.insert(payload[15]);
    for (std::size_t i = 0; i < 6; ++i) {
      const auto w = readLe<std::int32_t>(payload, 20 + 4 * i);
      weights[i].insert(w);
      sawNegative = sawNegative || w < 0;
    }
    const auto weighMs = readLe<std::uint16_t>(payload, 44);
    EXPECT_GT(weighMs, 0);
    EXPECT_LT(weighMs, 1000);
  }
  // The menu line and the bottom-bar field are the display terminal's: no key
  // was pressed, so they stay on the main menu's first entry.
  EXPECT_EQ(menuLines, (std::set<std::uint8_t>{0}));
  EXPECT_EQ(barFields, (std::set<std::uint8_t>{0}));
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_GT(weights[i].size(), 3u) << "weight " << i << " should move over time";
  }
  EXPECT_TRUE(sawNegative);
}

TEST(SimDevice, VersionAndBareReplies) {
  rwsim::SimDevice device;
  const WireReply version(device.reply(Frame{5, 70, {}}));
  const Bytes text = version.payload();
  EXPECT_TRUE(version.checksumOk);
  EXPECT_EQ(version.ack(), 0x06);
  ASSERT_GE(text.size(), 6u);
  EXPECT_EQ(std::string(text.begin(), text.begin() + 5), " RW40");
  EXPECT_EQ(text.back(), 0);

  std::uint16_t lastCounter = version.counter();
  for (const std::uint8_t code : std::initializer_list<std::uint8_t>{0, 7, 53, 82, 255}) {
    const WireReply bare(device.reply(Frame{9, code, {0xAA}}));
    EXPECT_EQ(bare.bytes.size(), 12u) << int(code);
    EXPECT_EQ(bare.parNum, 1u);
    EXPECT_EQ(bare.command(), code);
    EXPECT_EQ(bare.ack(), 0x06);
    EXPECT_TRUE(bare.checksumOk);
    EXPECT_EQ(bare.counter(), static_cast<std::uint16_t>(lastCounter + 1))
        << "device counts its replies";
    lastCounter = bare.counter();
  }
}

TEST(FaultSet, ByteLevelModes) {
  rwsim::SimDevice device;
  const Bytes clean = device.reply(Frame{1, 82, {}});
  std::mt19937 rng(7);

  rwsim::FaultSet nak;
  ASSERT_FALSE(nak.add("nak"));
  const WireReply nakReply(nak.shape(clean, rng));
  EXPECT_EQ(nakReply.ack(), 0x15);
  EXPECT_TRUE(nakReply.checksumOk);

  rwsim::FaultSet corrupt;
  ASSERT_FALSE(corrupt.add("corrupt"));
  const WireReply corruptReply(corrupt.shape(clean, rng));
  EXPECT_FALSE(corruptReply.checksumOk);
  EXPECT_EQ(Bytes(corruptReply.bytes.begin(), corruptReply.bytes.end() - 3),
            Bytes(clean.begin(), clean.end() - 3));
  EXPECT_TRUE(frameAll({corruptReply.bytes}).empty()) << "a reader must reject it";

  rwsim::FaultSet garbage;
  ASSERT_FALSE(garbage.add("garbage"));
  for (int round = 0; round < 50; ++round) {
    const Bytes noisy = garbage.shape(clean, rng);
    ASSERT_EQ(noisy.size(), clean.size() + 5);
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_NE(noisy[i], 0x02);
    }
    EXPECT_EQ(Bytes(noisy.begin() + 5, noisy.end()), clean);
  }

  // A reply with a payload loses it: ParNum 1, the same header and ACK, a
  // checksum that fits; a combination with nak still turns that ACK into NAK.
  const Bytes status = device.reply(Frame{2, 51, {}});
  ASSERT_GT(WireReply(status).parNum, 1u);
  rwsim::FaultSet cut;
  ASSERT_FALSE(cut.add("short"));
  const WireReply shortReply(cut.shape(status, rng));
  EXPECT_EQ(shortReply.parNum, 1u);
  EXPECT_EQ(shortReply.ack(), 0x06);
  EXPECT_TRUE(shortReply.checksumOk);
  EXPECT_EQ(Bytes(shortReply.bytes.begin(), shortReply.bytes.begin() + 5),
            Bytes(status.begin(), status.begin() + 5));
  EXPECT_EQ(shortReply.command(), 51);
  EXPECT_EQ(frameAll({shortReply.bytes}).size(), 1u) << "a well-formed frame";
  ASSERT_FALSE(cut.add("nak"));
  const WireReply shortNak(cut.shape(status, rng));
  EXPECT_EQ(shortNak.parNum, 1u);
  EXPECT_EQ(shortNak.ack(), 0x15);
  EXPECT_TRUE(shortNak.checksumOk);

  const auto pieces = rwsim::splitPieces(clean, 3);
  ASSERT_EQ(pieces.size(), 3u);
  Bytes joined;
  for (const Bytes& piece : pieces) {
    EXPECT_FALSE(piece.empty());
    joined.insert(joined.end(), piece.begin(), piece.end());
  }
  EXPECT_EQ(joined, clean);
}

TEST(FaultSet, ModeNamesAndControlLines) {
  struct Case {
    const char* mode;
    bool ok;
  };
  for (const Case& c : {Case{"split", true}, Case{"join", true}, Case{"refuse", true},
                        Case{"slow:250", true}, Case{"slow:0", true}, Case{"short", true},
                        Case{"slow:", false}, Case{"slow:-5", false}, Case{"slow:12x", false},
                        Case{"slow:99999999999", false}, Case{"Split", false}, Case{"", false}}) {
    rwsim::FaultSet faults;
    EXPECT_EQ(!faults.add(c.mode).has_value(), c.ok) << c.mode;
  }

  rwsim::FaultSet faults;
  EXPECT_TRUE(rwsim::applyControlLine(faults, "fault slow:40\n").changed);
  EXPECT_TRUE(rwsim::applyControlLine(faults, "  fault garbage ").changed);
  EXPECT_EQ(faults.describe(), "garbage slow:40");
  EXPECT_EQ(faults.slowMs(), 40u);
  EXPECT_FALSE(rwsim::applyControlLine(faults, "fault nonsense").changed);
  EXPECT_FALSE(rwsim::applyControlLine(faults, "reboot").changed);
  EXPECT_TRUE(rwsim::applyControlLine(faults, "clear").changed);
  EXPECT_TRUE(faults.empty());
}

TEST(CommandLine, HostMustBeLoopbackV4) {
  using Outcome = rwsim::CommandLine::Outcome;
  struct Case {
    QStringList args;
    Outcome outcome;
  };
  const Case cases[] = {
      {{}, Outcome::Run},
      {{"--host", "127.0.0.201"}, Outcome::Run},
      {{"--host=127.255.255.254"}, Outcome::Run},
      {{"--host", "203.0.113.5"}, Outcome::Error},
      {{"--host", "198.51.100.20"}, Outcome::Error},
      {{"--host", "0.0.0.0"}, Outcome::Error},
      {{"--host", "128.0.0.1"}, Outcome::Error},
      {{"--host", "::1"}, Outcome::Error},
      {{"--host", "::ffff:127.0.0.1"}, Outcome::Error},
      {{"--host", "localhost"}, Outcome::Error},
      {{"--host"}, Outcome::Error},
      {{"--fault", "split", "--fault=slow:30"}, Outcome::Run},
      {{"--fault", "sideways"}, Outcome::Error},
      {{"--hostname", "127.0.0.1"}, Outcome::Error},
      {{"--help"}, Outcome::Help},
  };
  for (const Case& c : cases) {
    const auto parsed = rwsim::CommandLine::parse(c.args);
    EXPECT_EQ(parsed.outcome, c.outcome) << qPrintable(c.args.join(' '));
    if (parsed.outcome == Outcome::Run) {
      EXPECT_TRUE(rwsim::isLoopbackV4(parsed.host));
    }
  }
  EXPECT_EQ(rwsim::CommandLine::parse({"--host", "127.0.0.201"}).host, QHostAddress("127.0.0.201"));
}

}  // namespace
