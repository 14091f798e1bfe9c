// The simulated device's label memory and its side of the integrator link,
// without sockets.

#include <gtest/gtest.h>

#include <string>

#include "control_line.h"
#include "integrator_peer.h"
#include "label_memory.h"
#include "sim_device.h"

namespace {

using rwsim::Bytes;
using rwsim::Frame;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The payload of the device's reply to `command` with these parameters.
Bytes ask(rwsim::SimDevice& device, std::uint8_t command, const Bytes& params) {
  Frame request;
  request.command = command;
  request.params = params;
  const Bytes reply = device.reply(request);
  return Bytes(reply.begin() + 8, reply.end() - 3);  // ACK and payload
}

TEST(SimLabelMemory, StoresChunksChecksTheChecksumAndReportsValidity) {
  rwsim::SimDevice device;
  rwsim::SimLabelMemory labels;
  labels.install(device);
  Bytes chunk{3, 0, 0};
  for (char c : std::string("abc")) chunk.push_back(static_cast<std::uint8_t>(c));
  chunk.push_back(0);
  EXPECT_EQ(ask(device, 40, chunk), Bytes{rwsim::kAck});
  EXPECT_EQ(ask(device, 41, {3, 9, 0x27}), (Bytes{rwsim::kAck, 2})) << "wrong checksum";
  EXPECT_EQ(ask(device, 41, {3, 9, 0x26}), (Bytes{rwsim::kAck, 1}));
  const Bytes table = ask(device, 42, {});
  ASSERT_EQ(table.size(), 37u);
  EXPECT_EQ(Bytes(table.begin() + 1 + 12, table.begin() + 1 + 16), (Bytes{1, 9, 4, 0}));
  EXPECT_EQ(ask(device, 40, {9, 0, 0, 'x'}), Bytes{rwsim::kNak}) << "no position 9";
  labels.failChecksum = [] { return true; };
  EXPECT_EQ(ask(device, 41, {3, 9, 0x26}), (Bytes{rwsim::kAck, 2}));
}

TEST(SimLabelMemory, RejectBlockReadsBackWhatWasWritten) {
  rwsim::SimDevice device;
  rwsim::SimLabelMemory labels;
  labels.install(device);
  Bytes block(816, 0);
  block[100] = 'Z';
  EXPECT_EQ(ask(device, 44, block), Bytes{rwsim::kAck});
  EXPECT_EQ(ask(device, 44, Bytes(815, 0)), Bytes{rwsim::kNak});
  const Bytes read = ask(device, 43, {});
  ASSERT_EQ(read.size(), 817u);
  EXPECT_EQ(Bytes(read.begin() + 1, read.end()), block);
}

TEST(SimIntegratorText, CutsMessagesWholeOrSplitAndFlagsABadBcc) {
  const Bytes a = rwsim::frameIntegratorText("502\t");
  EXPECT_EQ(a, (Bytes{0x02, 0x35, 0x30, 0x32, 0x09, 0x03, 0x3E}));
  Bytes stream = text("xx");
  stream.insert(stream.end(), a.begin(), a.end());
  Bytes bad = rwsim::frameIntegratorText("550\t");
  bad.back() ^= 1;
  stream.insert(stream.end(), bad.begin(), bad.end());
  rwsim::IntegratorTextReader reader;
  for (std::uint8_t b : stream) reader.append(Bytes{b});
  const auto first = reader.next();
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->bccOk);
  EXPECT_EQ(first->text, "502\t");
  const auto second = reader.next();
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->bccOk);
  EXPECT_FALSE(reader.next());
}

TEST(SimIntegratorPeer, JudgesAnswersAndTakesALabelOverTheLink) {
  rwsim::SimLabelMemory labels;
  rwsim::IntegratorPeer peer(labels);
  EXPECT_EQ(peer.request(84), rwsim::frameIntegratorText("084"));
  auto judged = [&peer](const std::string& t) {
    const auto out = peer.received({true, t});
    return out.lines.empty() ? std::string() : out.lines.front();
  };
  EXPECT_EQ(judged("084\t1\t100\t102\t8"),
            "integrator: request 084 answered: 084\\t1\\t100\\t102\\t8");
  EXPECT_EQ(judged("084\t1"), "integrator: answer 084 not asked: 084\\t1");
  peer.request(60);
  EXPECT_EQ(judged("060\x15"), "integrator: request 060 refused: 060<15>");

  const std::string label(1200, 'Q');
  for (std::size_t off = 0; off < label.size(); off += 500)
    EXPECT_TRUE(
        peer.received({true, "543\t4\t" + std::to_string(off) + "\t" + label.substr(off, 500)})
            .replies.empty());
  const auto closed = peer.received({true, "544\t4\t7\t" + std::to_string(1200 * 'Q' % 256)});
  ASSERT_EQ(closed.replies.size(), 1u);
  EXPECT_EQ(closed.replies[0], rwsim::frameIntegratorText("544\x06"
                                                          "1\t1"));
  EXPECT_EQ(labels.label(4).size(), 1201u);
  const auto wrong = peer.received({true, "544\t4\t7\t0"});
  EXPECT_EQ(wrong.replies.at(0), rwsim::frameIntegratorText("544\x06"
                                                            "1\t2"));
}

TEST(SimControlLine, IntegratorSendTakesARequestCode) {
  rwsim::FaultSet faults;
  EXPECT_EQ(rwsim::applyControlLine(faults, "integrator send 82").integratorSend, 82);
  EXPECT_EQ(rwsim::applyControlLine(faults, "integrator send 500").integratorSend, -1);
  EXPECT_EQ(rwsim::applyControlLine(faults, "integrator send x").integratorSend, -1);
  EXPECT_FALSE(rwsim::applyControlLine(faults, "fault side-split").message.starts_with("error"));
  EXPECT_TRUE(faults.has(rwsim::FaultMode::SideSplit));
}

}  // namespace
