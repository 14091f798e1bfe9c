#pragma once
// A Device on fake seams: the main socket, the side sockets and the timers are
// reachable by name, and the whole conversation can be checked byte for byte.
#include <gtest/gtest.h>

#include "app/device.h"
#include "fakes.h"

namespace vantor::test {

struct LinkFixture : ::testing::Test {
  FakeSeams seams;
  Device device{seams};

  // The connection makes its sockets and timers first, in this order.
  FakeSocket& lan2() { return *seams.sockets.at(0); }
  FakeSocket& portRec() { return *seams.sockets.at(1); }
  FakeSocket& mobSock() { return *seams.sockets.at(2); }
  FakeTimer& relTim() { return *seams.timers.at(0); }
  FakeTimer& cmdTime() { return *seams.timers.at(1); }
  FakeTimer& reconnect() { return *seams.timers.at(2); }
  Shell& shell() { return device.shell; }

  FakeTimer& replyTim() { return *seams.timers.at(3); }
  // A reply timeout passes without a reply.
  void silence() {
    seams.clockImpl.nowMs += CommandChannel::kDefaultReplyTimeoutMs;
    replyTim().fire();
  }

  // Connects the main link and answers the version and status requests it
  // sends first, so the link is idle and no request awaits its reply.
  void connectMain() {
    device.connection.controls.host = "127.0.0.9";
    device.connection.LanOnClick();
    lan2().connect();
    lan2().receive(replyFrame(70, Bytes{0}));
    lan2().receive(replyFrame(51, Bytes(56, 0)));
    lan2().writes.clear();
    shell().statusBar = {"Rev", "Status", shell().statusBar[2]};
  }
  // Sends `code` as the next request and lets the device answer it with `payload`.
  void ask(int code, const Bytes& payload) {
    device.channel.queueCmd(code);
    device.channel.sendNextCmd();
    lan2().writes.clear();
    lan2().receive(replyFrame(code, payload));
  }
  // The command codes of everything written to the main socket so far, taken.
  std::vector<int> sentCodes() {
    std::vector<int> codes;
    for (const Bytes& w : lan2().writes) codes.push_back(w.at(7));
    lan2().writes.clear();
    return codes;
  }
};

}  // namespace vantor::test
