#include <gtest/gtest.h>

#include "link_fixture.h"

using namespace vantor;
using namespace vantor::test;

using ConnectionTest = LinkFixture;

TEST_F(ConnectionTest, ConnectLogsAndShowsTheMasterState) {
  device.connection.controls.host = "127.0.0.9";
  device.connection.LanOnClick();
  lan2().connect();
  EXPECT_EQ(shell().errorBar[0], "Conect Master");
  EXPECT_EQ(std::vector<std::string>(shell().memo1.begin(), shell().memo1.end()),
            (std::vector<std::string>{"C..ing", "Conect Master", "50123"}));
  EXPECT_TRUE(relTim().enabled());
}

TEST_F(ConnectionTest, ErrorClosesAllSocketsCountsOnceAndReconnectsAfterASecond) {
  device.connection.controls.host = "127.0.0.9";
  device.connection.controls.recOpen = true;
  device.connection.LanOnClick();
  EXPECT_EQ(portRec().port, 49000);
  EXPECT_EQ(mobSock().opens, 0);  // not chosen
  for (int attempt = 1; attempt <= 3; ++attempt) {
    lan2().fail();
    EXPECT_EQ(shell().errorBar[1], "Fail Master");
    EXPECT_EQ(shell().errorBar[6], std::to_string(attempt));
    EXPECT_EQ(lan2().state, FakeSocket::State::Closed);
    EXPECT_EQ(portRec().state, FakeSocket::State::Closed);
    EXPECT_TRUE(reconnect().enabled());
    EXPECT_EQ(reconnect().interval(), 1000);
    reconnect().fire();
    EXPECT_FALSE(reconnect().enabled());
    EXPECT_EQ(lan2().state, FakeSocket::State::Opening);
    EXPECT_EQ(portRec().state, FakeSocket::State::Opening);
    EXPECT_EQ(lan2().host, "127.0.0.9");
  }
  EXPECT_EQ(device.connection.linkErrCount(), 3);
}

TEST_F(ConnectionTest, SideSocketErrorsHaveTheirOwnTextsAndShareTheCounter) {
  device.connection.controls.host = "127.0.0.9";
  device.connection.controls.recOpen = device.connection.controls.mobOpen = true;
  device.connection.LanOnClick();
  portRec().connect();
  EXPECT_EQ(shell().errorBar[2], "Conect Slave");
  mobSock().connect();
  EXPECT_EQ(shell().errorBar[4], "Conect Mob");
  portRec().fail();
  EXPECT_EQ(shell().errorBar[3], "Fail Slave");
  EXPECT_EQ(shell().errorBar[2], "Sconect Slave");
  EXPECT_EQ(shell().errorBar[4], "Sconect Mob");
  reconnect().fire();
  mobSock().fail();
  EXPECT_EQ(shell().errorBar[5], "Fail Mob");
  EXPECT_EQ(shell().errorBar[6], "2");
  EXPECT_EQ(lan2().state, FakeSocket::State::Closed);
}

// "Disconnect" means disconnected: a reconnect armed by an earlier error does not
// fire after it, and nothing opens until "Connect".
TEST_F(ConnectionTest, DisconnectStopsThePollAndAPendingReconnect) {
  connectMain();
  device.tablesLoaded = device.productsLoaded = true;
  lan2().fail();
  EXPECT_EQ(shell().errorBar[0], "Sconect Master");
  EXPECT_FALSE(device.tablesLoaded);
  EXPECT_FALSE(device.productsLoaded);
  EXPECT_TRUE(reconnect().enabled());
  device.connection.LanOffClick();
  EXPECT_FALSE(relTim().enabled());
  EXPECT_FALSE(reconnect().enabled());
  reconnect().fire();
  EXPECT_EQ(lan2().state, FakeSocket::State::Closed);
  device.connection.LanOnClick();
  EXPECT_EQ(lan2().state, FakeSocket::State::Opening);
}

TEST_F(ConnectionTest, PollModesSetThePeriodAndQueueTheirCommand) {
  connectMain();
  cmdTime().fire();
  struct Case {
    PollMode mode;
    int period;
    std::vector<int> sent;
  } cases[] = {{PollMode::Off, 1000, {}}, {PollMode::Deb, 1000, {51}}, {PollMode::Peso, 250, {14}}};
  for (const Case& c : cases) {
    device.connection.SelAutoClick(c.mode);
    EXPECT_EQ(relTim().interval(), c.period);
    relTim().fire();
    EXPECT_EQ(sentCodes(), c.sent);
    EXPECT_EQ(shell().debFl, c.mode == PollMode::Off ? Colour::ButtonFace : Colour::Red);
    EXPECT_EQ(shell().msFl, shell().debFl);
    for (int code : c.sent) lan2().receive(replyFrame(code, Bytes(56, 0)));
    cmdTime().setEnabled(true);
    cmdTime().fire();
  }
}

TEST_F(ConnectionTest, BarSimTakesTheTrackBarPositionOnlyWhenSelected) {
  int barSimTicks = 0;
  device.connection.hooks.barSimTick.connect([&] { ++barSimTicks; });
  device.connection.SpeedClkChange(250);
  EXPECT_EQ(device.connection.controls.label3, "250");
  device.connection.SelAutoClick(PollMode::BarSim);
  EXPECT_EQ(relTim().interval(), 250);
  device.connection.SpeedClkChange(1500);
  EXPECT_EQ(relTim().interval(), 250);
  relTim().fire();
  EXPECT_EQ(barSimTicks, 1);
  // Connect puts the mode back to "Off" and its period to a second.
  device.connection.LanOnClick();
  EXPECT_EQ(device.connection.controls.selAuto, PollMode::Off);
  EXPECT_EQ(relTim().interval(), 1000);
}

TEST_F(ConnectionTest, ResetQueuesABareCommand82) {
  connectMain();
  device.channel.clearQueue();
  device.connection.ResetClick();
  relTim().fire();
  ASSERT_EQ(lan2().writes.size(), 1u);
  EXPECT_EQ(lan2().writes[0].size(), 11u);
  EXPECT_EQ(lan2().writes[0][7], 0x52);
}

TEST_F(ConnectionTest, ConnectDropsAPartialReplyLeftFromTheLastConnection) {
  connectMain();
  lan2().receive(hex("02 00 01 00 01 00 05"));
  lan2().fail();
  reconnect().fire();
  lan2().connect();
  lan2().writes.clear();
  lan2().receive(replyFrame(70, hex("41 00")));
  EXPECT_EQ(shell().statusBar[0], "A");
}

// The device drops the integrator ports on purpose; that is a disconnect, not a link
// error: the main link, the counter and the access level stay as they are.
TEST_F(ConnectionTest, ARemoteCloseOfASideSocketIsADisconnectButOfTheMainSocketAnError) {
  device.connection.controls.host = "127.0.0.9";
  device.connection.controls.recOpen = device.connection.controls.mobOpen = true;
  device.connection.LanOnClick();
  lan2().connect();
  portRec().connect();
  mobSock().connect();
  device.access.setDeviceCodes("op", "mt", "sv");
  device.access.FormDblClick();
  device.access.passwordDialogClosed("mt");
  ASSERT_EQ(device.access.level(), 2);
  portRec().closeByPeer();
  mobSock().closeByPeer();
  EXPECT_EQ(shell().errorBar[2], "Sconect Slave");
  EXPECT_EQ(shell().errorBar[4], "Sconect Mob");
  EXPECT_EQ(shell().errorBar[3], "");
  EXPECT_EQ(shell().errorBar[5], "");
  EXPECT_EQ(shell().errorBar[6], "");
  EXPECT_TRUE(lan2().connected());
  EXPECT_FALSE(reconnect().enabled());
  EXPECT_EQ(device.access.level(), 2);

  lan2().closeByPeer();
  EXPECT_EQ(shell().errorBar[1], "Fail Master");
  EXPECT_EQ(shell().errorBar[6], "1");
  EXPECT_TRUE(reconnect().enabled());
}

// A device that stops answering while connected is reported after three reply
// timeouts in a row; the indicator stays red until it answers again.
TEST_F(ConnectionTest, ADeviceThatFallsSilentIsReportedUntilItAnswersAgain) {
  connectMain();
  device.channel.queueCmd(51);
  device.channel.queueCmd(51);
  device.channel.sendNextCmd();
  silence();
  silence();  // the first request ends: two silences
  EXPECT_EQ(shell().errorBar[0], "Conect Master");
  silence();  // the second request's first silence: three in a row
  EXPECT_EQ(shell().errorBar[0], "No reply");
  EXPECT_EQ(shell().debFl, Colour::Red);
  cmdTime().setEnabled(true);
  cmdTime().fire();
  EXPECT_EQ(shell().debFl, Colour::Red);  // stays red
  lan2().receive(replyFrame(51, Bytes(56, 0)));
  EXPECT_EQ(shell().errorBar[0], "Conect Master");
  EXPECT_EQ(shell().debFl, Colour::Green);
  cmdTime().fire();
  EXPECT_EQ(shell().debFl, Colour::ButtonFace);
}
