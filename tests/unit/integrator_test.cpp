#include <gtest/gtest.h>

#include "link_fixture.h"
#include "peripherals/integrator_frame.h"
#include "temp_dir.h"

using namespace vantor;
using namespace vantor::test;

namespace {

std::string text(const Bytes& frame) {
  EXPECT_GE(frame.size(), 3u);
  EXPECT_EQ(frame.front(), 0x02);
  EXPECT_EQ(frame[frame.size() - 2], 0x03);
  const std::string t(frame.begin() + 1, frame.end() - 2);
  EXPECT_EQ(frame.back(), integratorBcc(t)) << "BCC of " << t;
  return t;
}

struct IntegratorTest : LinkFixture {
  TempDir dir;
  Integrator& integrator() { return device.integrator; }
  IntegratorControls& controls() { return device.integrator.controls; }

  IntegratorTest() {
    device.connection.controls.recOpen = device.connection.controls.mobOpen = true;
    connectMain();
    portRec().connect();
    mobSock().connect();
  }
  // The device sends a request; returns the text the tool answered, if any.
  std::string request(const std::string& t) {
    portRec().writes.clear();
    portRec().receive(frameIntegratorText(t));
    if (portRec().writes.size() != 1) return "(" + std::to_string(portRec().writes.size()) + ")";
    return text(portRec().takeWrite());
  }
  // One poll tick; the texts written to both integrator sockets.
  std::vector<std::string> tick() {
    relTim().fire();
    std::vector<std::string> out;
    for (FakeSocket* s : {&portRec(), &mobSock()})
      for (const Bytes& w : s->writes) out.push_back((s == &mobSock() ? "Mob " : "") + text(w));
    portRec().writes.clear();
    mobSock().writes.clear();
    return out;
  }
  void loadLabel(const std::string& bytes) {
    const std::string path = dir.file("label.txt");
    writeWhole(path, bytes);
    ASSERT_TRUE(device.labelPrinter.SetPrintClick(path));
  }
};

const std::string ack = "\x06", nak = "\x15";

}  // namespace

TEST_F(IntegratorTest, AnswersEachRequestWithItsCannedText) {
  controls().selReg = 7;
  const std::pair<const char*, std::string> cases[] = {
      {"041", "041" + ack + "1\t123\t17\t02\t1969\t23\tLT23\t2\tLOTE2LOONGOOO"},
      {"084", "084\t7\t100\t102\t8"},
      {"047", "047\t7\t200\t202\t8"},
      {"059", "059" + ack + "Msg from server"},
      {"071", "071" + ack + "Msg from server"},
      {"060",
       "060" + ack + "1\t7\t3/99\t1234\tnome prodotto\t155\t145000\t150000\t12345678900987654000"},
      {"060",
       "060" + ack + "1\t7\t3/99\t1234\tnome prodotto\t155\t145000\t150000\t12345678900987654001"},
      {"063", "063" + ack + "1\t123\t23\tLT23\t2\tLOTE2LOONGOOO"},
      {"074", "074" + ack + "1"},
      {"080", "080" + ack + "1\ttext\t320\t0\t1234\t80000000\t0\t0"},
      {"012", "012" + ack + "1\t7\tblabla\tblabla\tblabla\tblabla\tblabla\tblabla\tblabla"},
  };
  for (const auto& [req, answer] : cases) {
    SCOPED_TRACE(req);
    EXPECT_EQ(request(req), answer);
  }
  EXPECT_EQ(controls().memo10.back(), cases[std::size(cases) - 1].second);
  EXPECT_EQ(controls().memo2.back(), "012");
  EXPECT_EQ(controls().memo2[controls().memo2.size() - 2], "2\t48\t49\t50\t3\t51\t");
}

TEST_F(IntegratorTest, SelRegZeroRefusesAndAutoAckOffAnswersOncePerSetting) {
  controls().selReg = 0;
  EXPECT_EQ(request("060"), "060" + nak);
  controls().selReg = 5;
  controls().autoAck = false;
  controls().selPeso = 9;
  EXPECT_EQ(request("074"), "074" + ack + "1");
  EXPECT_EQ(controls().selReg, 0);
  EXPECT_EQ(controls().selPeso, 0);
  EXPECT_EQ(request("074"), "074" + nak);
  EXPECT_EQ(integrator().counters().product, 0u) << "a refused 60 takes no product number";
}

TEST_F(IntegratorTest, MessagesSplitOrJoinedAreEachAnsweredOnce) {
  const Bytes a = frameIntegratorText("074"), b = frameIntegratorText("063");
  Bytes both = a;
  both.insert(both.end(), b.begin(), b.end());
  portRec().receive(both);
  EXPECT_EQ(portRec().writes.size(), 2u);
  portRec().writes.clear();
  for (uint8_t byte : a) portRec().receive(Bytes{byte});
  ASSERT_EQ(portRec().writes.size(), 1u);
  EXPECT_EQ(text(portRec().takeWrite()), "074" + ack + "1");
}

TEST_F(IntegratorTest, ABadMessageIsLoggedAsDecimalBytesAndNotAnswered) {
  Bytes bad = frameIntegratorText("074");
  bad.back() ^= 1;
  portRec().receive(bad);
  EXPECT_TRUE(portRec().writes.empty());
  EXPECT_EQ(controls().memo2.back(), "Slave bad BCC: 2\t48\t55\t52\t3\t50\t");
}

TEST_F(IntegratorTest, APartialMessageIsEmptiedOnConnect) {
  const Bytes m = frameIntegratorText("074");
  portRec().receive(Bytes(m.begin(), m.begin() + 2));
  portRec().close();
  portRec().connect();
  portRec().receive(Bytes(m.begin() + 2, m.end()));
  EXPECT_TRUE(portRec().writes.empty()) << "the old start does not join the new bytes";
  portRec().receive(m);
  EXPECT_EQ(portRec().writes.size(), 1u);
}

TEST_F(IntegratorTest, APartialMessageIsGivenUpOnThePollTickAfterOneSecond) {
  portRec().receive(Bytes{0x02, 0x30});
  seams.clockImpl.nowMs += 1001;
  relTim().fire();
  EXPECT_EQ(controls().memo2.back(), "Slave partial message dropped after 1000 ms: 2\t48\t");
}

TEST_F(IntegratorTest, OwnMessagesGoOutOnePerTickAndRouteBy600) {
  integrator().Button7Click();
  integrator().Button9Click();
  integrator().WkpClick();
  integrator().Button6Click();
  controls().mobValCmd = 601;
  integrator().TestMobClick();
  controls().mobValCmd = 550;
  integrator().TestMobClick();
  EXPECT_EQ(tick(), std::vector<std::string>{"502\t"});
  EXPECT_EQ(controls().edit2, "62");
  EXPECT_EQ(tick(), std::vector<std::string>{"503\t10\t12\t2026\t10\t59\t00"});
  EXPECT_EQ(tick(), std::vector<std::string>{"550\t"});
  EXPECT_EQ(controls().edit2, "57");
  EXPECT_EQ(tick(), std::vector<std::string>{"551\t\t"});
  EXPECT_EQ(tick(), std::vector<std::string>{"Mob 601\t"});
  EXPECT_EQ(tick(), std::vector<std::string>{"550\t"});
  EXPECT_TRUE(tick().empty());
  EXPECT_EQ(controls().memo10.back(), "550\t");
}

TEST_F(IntegratorTest, AFullQueueDropsTheNewCodeAndSaysSo) {
  for (int i = 0; i < 10; ++i) integrator().Button7Click();
  integrator().WkpClick();
  EXPECT_EQ(integrator().queue().size(), 10u);
  EXPECT_EQ(controls().memo10.back(), "Queue full: 550 dropped");
  portRec().connect();  // a connect empties the queue
  EXPECT_EQ(integrator().queue().size(), 0u);
}

TEST_F(IntegratorTest, AMessageForAPortNotConnectedIsDroppedWithALine) {
  mobSock().close();
  integrator().TestMobClick();
  integrator().Button7Click();
  EXPECT_TRUE(tick().empty());
  EXPECT_EQ(controls().memo10.back(), "601 dropped: port 46000 not connected");
  EXPECT_EQ(tick(), std::vector<std::string>{"502\t"});
}

TEST_F(IntegratorTest, MobSockFieldsAreLoggedOneALineAfterAnEmptyLine) {
  mobSock().receive(frameIntegratorText("610xxa\tb\tc"));
  ASSERT_GE(controls().memo2.size(), 4u);
  const size_t n = controls().memo2.size();
  EXPECT_EQ(controls().memo2[n - 4], "");
  EXPECT_EQ(controls().memo2[n - 3], "a");
  EXPECT_EQ(controls().memo2[n - 2], "b");
  EXPECT_EQ(controls().memo2[n - 1], "c");
  EXPECT_TRUE(mobSock().writes.empty());
}

TEST_F(IntegratorTest, A1200ByteLabelGoesAsThree543AndOne544OnePerTick) {
  std::string label(1200, 'L');
  label[1000] = 'M';
  loadLabel(label);
  device.labelPrinter.controls.labelId = 3;
  device.labelPrinter.controls.labelIdProd = 42;
  device.labelPrinter.SendPrtPClick();
  EXPECT_EQ(tick(), std::vector<std::string>{"543\t3\t0\t" + label.substr(0, 500)});
  EXPECT_EQ(tick(), std::vector<std::string>{"543\t3\t500\t" + label.substr(500, 500)});
  EXPECT_EQ(tick(), std::vector<std::string>{"543\t3\t1000\t" + label.substr(1000)});
  const int sum = (1199 * 'L' + 'M') % 256;
  EXPECT_EQ(tick(), std::vector<std::string>{"544\t3\t42\t" + std::to_string(sum)});
  EXPECT_TRUE(tick().empty());
}

TEST_F(IntegratorTest, Request82AnswersAndStartsTheLabelUploadAtOffsetZero) {
  loadLabel("abc");
  EXPECT_EQ(request("082"), "082" + ack + "1\t1");
  EXPECT_EQ(tick(), std::vector<std::string>{"543\t0\t0\tabc"});
  EXPECT_EQ(tick(), std::vector<std::string>{"544\t0\t1\t38"});
}

TEST_F(IntegratorTest, Request82WithNoLabelLoadedSendsNoEmptyLabel) {
  EXPECT_EQ(request("082"), "082" + ack + "1\t1");
  EXPECT_TRUE(tick().empty());
  EXPECT_EQ(device.labelPrinter.controls.memo5.back(),
            "Label requested by the device: no label loaded, nothing sent");
}

TEST_F(IntegratorTest, TheAnswerTo544SetsMsgPrt) {
  const std::pair<std::string, PrtState> cases[] = {
      {"544" + ack + "1\t2", PrtState::Error},
      {"544" + ack + "1\t1", PrtState::Sent},
      {"544" + ack + "1\t 2", PrtState::Error},
  };
  for (const auto& [t, state] : cases) {
    device.labelPrinter.controls.msgPrt = PrtState::Void;
    portRec().receive(frameIntegratorText(t));
    EXPECT_EQ(device.labelPrinter.controls.msgPrt, state) << t;
  }
  EXPECT_TRUE(portRec().writes.empty()) << "544 is an answer, not a request";
}

TEST_F(IntegratorTest, RejectTextsGoAsMessage545) {
  auto& texts = device.labelPrinter.controls.erLbTexts;
  for (size_t i = 1; i < texts.size(); ++i) texts[i] = "t" + std::to_string(i);
  device.labelPrinter.SetErLbPClick();
  EXPECT_EQ(tick(), std::vector<std::string>{"545\t\tt1\tt2\tt3\tt4\tt5\tt6\tt7"});
}

TEST_F(IntegratorTest, HiddenSelPesoCommandsAndReply35) {
  controls().selPeso = 0x1234;
  integrator().RejPesoClick();
  device.channel.sendNextCmd();
  const Bytes req = lan2().takeWrite();
  EXPECT_EQ(req.at(7), 20);
  EXPECT_EQ(Bytes(req.begin() + 8, req.end() - 3), hex("34 12"));
  Bytes block(68, 0);
  block[0] = 0xFE, block[1] = block[2] = block[3] = 0xFF;  // -2
  for (auto [at, s] : {std::pair{12, "AB"}, {32, "CD"}, {47, "EF"}})
    std::copy_n(s, 2, block.begin() + at);
  block[66] = 0x0A;
  lan2().receive(replyFrame(20, {}));
  ask(35, block);
  EXPECT_EQ(controls().memo2.back(), "AB CD EF -2 0A");
}
