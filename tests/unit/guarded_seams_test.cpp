#include "link/guarded_seams.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes.h"

using namespace vantor;
using namespace vantor::test;

namespace {
struct ThrowingListener : SocketListener {
  int reads = 0;
  void socketRead(ByteView) override {
    ++reads;
    throw std::runtime_error("Socket Error # 10061");
  }
  void socketError(const std::string&) override { throw 7; }
};
}  // namespace

// Socket and timer events come from the event loop; nothing thrown there may reach
// it. What a feature throws becomes the alert and ends only that event.
TEST(GuardedSeams, ExceptionsOfSocketAndTimerEventsBecomeAlerts) {
  FakeSeams platform;
  Shell shell;
  std::vector<std::string> alerts;
  shell.onAlert.connect([&](const std::string& t) { alerts.push_back(t); });
  GuardedSeams seams(platform, shell);

  auto socket = seams.makeSocket();
  ThrowingListener listener;
  socket->setListener(&listener);
  FakeSocket& fake = *platform.sockets.at(0);
  EXPECT_NO_THROW(fake.receive(Bytes{1, 2}));
  EXPECT_NO_THROW(fake.receive(Bytes{3}));
  EXPECT_NO_THROW(fake.fail());
  EXPECT_EQ(listener.reads, 2);

  auto timer = seams.makeTimer();
  timer->setCallback([] { throw std::runtime_error("'abc' is not a valid integer value"); });
  timer->setEnabled(true);
  EXPECT_NO_THROW(platform.timers.at(0)->fire());

  EXPECT_EQ(alerts,
            (std::vector<std::string>{"Socket Error # 10061", "Socket Error # 10061",
                                      "Unknown error", "'abc' is not a valid integer value"}));
}
