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

  FakeSocket& lan2() { return static_cast<FakeSocket&>(device.connection.lan2()); }
  FakeSocket& portRec() { return static_cast<FakeSocket&>(device.connection.portRec()); }
  FakeSocket& mobSock() { return static_cast<FakeSocket&>(device.connection.mobSock()); }
  FakeTimer& relTim() { return static_cast<FakeTimer&>(device.connection.relTim()); }
  FakeTimer& cmdTime() { return static_cast<FakeTimer&>(device.connection.cmdTime()); }
  FakeTimer& reconnect() { return static_cast<FakeTimer&>(device.connection.timeOutConect()); }
  Shell& shell() { return device.shell; }

  // Connects the main link and takes the version request it sends at once.
  void connectMain() {
    device.connection.controls.host = "127.0.0.9";
    device.connection.LanOnClick();
    lan2().connect();
    lan2().writes.clear();
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
