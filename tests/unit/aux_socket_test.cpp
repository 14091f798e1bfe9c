// Lan3, the auxiliary command socket, and the debug command 53.
#include <gtest/gtest.h>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

namespace {

struct AuxSocketTest : LinkFixture {
  AuxSocketControls& c = device.auxSocket.controls;
  // Made after the connection's three sockets.
  FakeSocket& lan3() { return *seams.sockets.at(3); }
};

}  // namespace

TEST_F(AuxSocketTest, KillRequestNamesThePortWithItsCheckByte) {
  struct Case {
    int selPort;
    const char* bytes;
  };
  for (const Case& k :
       {Case{0, "55 00 55"}, Case{1, "55 01 56"}, Case{2, "55 02 57"}, Case{-1, "55 FF 54"}}) {
    const auto r = killRequest(k.selPort);
    EXPECT_EQ(Bytes(r.begin(), r.end()), hex(k.bytes)) << k.selPort;
  }
}

TEST_F(AuxSocketTest, ConnectKillDisconnect) {
  device.connection.controls.host = "127.0.0.181";
  device.auxSocket.Lan3OnClick();
  EXPECT_EQ(lan3().host, "127.0.0.181");
  EXPECT_EQ(lan3().port, 46990);
  EXPECT_FALSE(c.lan3SendEnabled);
  lan3().connect();
  EXPECT_EQ(c.lan3Txt, "Conect3");
  EXPECT_TRUE(c.lan3OffEnabled && c.lan3SendEnabled);
  c.selPort = 1;
  device.auxSocket.Lan3SendClick();
  ASSERT_EQ(lan3().writes.size(), 1u);  // one write of all three bytes
  EXPECT_EQ(lan3().writes[0], hex("55 01 56"));
  // The device closes: only the text changes.
  lan3().closeByPeer();
  EXPECT_EQ(c.lan3Txt, "Sconect3");
  EXPECT_TRUE(c.lan3SendEnabled && c.lan3OffEnabled);
  device.auxSocket.Lan3OffClick();
  EXPECT_FALSE(c.lan3SendEnabled || c.lan3OffEnabled);
  // The main link was never touched.
  EXPECT_EQ(lan2().opens, 0);
}

TEST_F(AuxSocketTest, AFailedConnectionIsTheStandardErrorMessageAndButtonsStay) {
  std::vector<std::string> alerts;
  Subscription<const std::string&> seen(shell().onAlert,
                                        [&](const std::string& t) { alerts.push_back(t); });
  device.connection.controls.host = "127.0.0.182";
  device.auxSocket.Lan3OnClick();
  lan3().fail("Connection refused");
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0], "Lan3 127.0.0.182:46990: Connection refused");
  EXPECT_TRUE(c.lan3OnEnabled);
  EXPECT_FALSE(c.lan3SendEnabled || c.lan3OffEnabled);
  EXPECT_EQ(c.lan3Txt, "Lan3Txt");
  // It can be tried again.
  device.auxSocket.Lan3OnClick();
  lan3().connect();
  EXPECT_EQ(c.lan3Txt, "Conect3");
}

TEST_F(AuxSocketTest, Button3SendsCommand53WithTheSpinEditByte) {
  connectMain();
  c.cSpinEdit1 = 200;
  device.auxSocket.Button3Click();
  device.channel.sendNextCmd();
  const Bytes w = lan2().takeWrite();
  ASSERT_EQ(w.size(), 12u);
  EXPECT_EQ(w[7], 53);
  EXPECT_EQ(w[6], 1);  // ParNum
  EXPECT_EQ(w[8], 0xC8);
}
