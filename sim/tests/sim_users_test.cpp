// The simulated device's user accounts: commands 38 and 39 and message 554.

#include <gtest/gtest.h>

#include <string>

#include "integrator_peer.h"
#include "label_memory.h"
#include "sim_device.h"
#include "user_accounts.h"

namespace {

using rwsim::Bytes;

Bytes reply(rwsim::SimDevice& device, std::uint8_t command, const Bytes& params) {
  rwsim::Frame request;
  request.command = command;
  request.params = params;
  const Bytes r = device.reply(request);
  return Bytes(r.begin() + 8, r.end() - 3);  // ACK and payload
}

TEST(SimUserAccounts, ReadsWritesKeepsAndTakesMessage554) {
  rwsim::SimDevice device;
  rwsim::SimUserAccounts users;
  users.install(device);
  Bytes block = reply(device, rwsim::kCmdReadUsers, {});
  ASSERT_EQ(block.size(), 405u);
  EXPECT_EQ(block[0], rwsim::kAck);
  block.erase(block.begin());
  EXPECT_EQ(users.login(3), "") << "some accounts are empty";
  block[6] = 'Z';  // the login of user 1
  EXPECT_EQ(reply(device, rwsim::kCmdWriteUsers, block), Bytes{rwsim::kAck});
  EXPECT_EQ(users.login(1), "Zp1");
  EXPECT_EQ(reply(device, rwsim::kCmdWriteUsers, Bytes(403, 0)), Bytes{rwsim::kNak});
  EXPECT_EQ(users.login(1), "Zp1") << "a refused write changes nothing";

  rwsim::SimLabelMemory labels;
  rwsim::IntegratorPeer peer(labels);
  peer.onUserAccount = [&](const std::vector<std::string>& f) { return users.takeMessage(f); };
  const auto out = peer.received({true, "554\t1\t7\tnew\tsecret\tNew Name"});
  EXPECT_EQ(users.login(7), "new");
  EXPECT_EQ(users.password(7), "secret");
  EXPECT_EQ(users.name(7), "New Name");
  ASSERT_EQ(out.lines.size(), 1u);
  EXPECT_EQ(out.lines[0].find("secret"), std::string::npos) << "the password stays out of the log";
  EXPECT_NE(peer.received({true, "554\t1\t10\tx\ty\tz"}).lines.at(0).find("refused"),
            std::string::npos)
      << "there is no user 10";
  EXPECT_EQ(reply(device, rwsim::kCmdReadUsers, {}).at(1 + 7 * 6), 'n') << "a re-read shows it";
}

}  // namespace
