#include <gtest/gtest.h>

#include "config/user_list_file.h"
#include "link_fixture.h"
#include "peripherals/integrator_frame.h"

using namespace vantor;
using namespace vantor::test;

namespace {

using C = UserLoginsControls;

// A block of accounts "lg<i>", "pw<i>", "name <i>" and device bytes 1 2 3 4.
Bytes deviceBlock() {
  UserBlock b;
  for (size_t i = 0; i < kUserCount; ++i) {
    b.setText(UserBlock::Field::Login, i, "lg" + std::to_string(i));
    b.setText(UserBlock::Field::Password, i, "pw" + std::to_string(i));
    b.setText(UserBlock::Field::Name, i, "name " + std::to_string(i));
  }
  Bytes bytes(b.bytes().begin(), b.bytes().end());
  for (size_t k = 0; k < 4; ++k) bytes[400 + k] = static_cast<uint8_t>(k + 1);
  return bytes;
}

std::string slotText(const Bytes& block, size_t offset, size_t width) {
  std::string t;
  for (size_t k = offset; k < offset + width && block.at(k) != 0; ++k) t += char(block[k]);
  return t;
}

struct UserLoginsTest : LinkFixture {
  UserLogins& logins() { return device.userLogins; }
  C& controls() { return device.userLogins.controls; }

  UserLoginsTest() { connectMain(); }
  // "Get All" answered with this block.
  void read(const Bytes& block) {
    logins().GetLoginClick();
    device.channel.sendNextCmd();
    lan2().writes.clear();
    lan2().receive(replyFrame(38, block));
  }
  // "Set All": the 404 bytes of the command 39 sent.
  Bytes written() {
    logins().SetLoginClick();
    device.channel.sendNextCmd();
    const Bytes frame = lan2().takeWrite();
    EXPECT_EQ(frame.at(7), 39);
    EXPECT_EQ(frame.size(), 8u + kUserBlockSize + 3u);
    return Bytes(frame.begin() + 8, frame.end() - 3);
  }
  void typePassword(int row, const std::string& text) {
    logins().LoginUserTabSelectCell(row);
    logins().LoginUserTabClick(C::kPasswordColumn, {});
    logins().PswSelExit(text, true);
  }
};

}  // namespace

TEST_F(UserLoginsTest, ReadShowsHeadersAccountsAndMasks) {
  EXPECT_EQ(controls().grid[0][1], "Login");
  EXPECT_EQ(controls().grid[0][2], "Password");
  EXPECT_EQ(controls().grid[0][3], "Nome");
  EXPECT_EQ(controls().grid[1][1], "") << "empty until the first read";
  read(deviceBlock());
  for (size_t r = 1; r <= kUserCount; ++r) {
    EXPECT_EQ(controls().grid[r][0], std::to_string(r));
    EXPECT_EQ(controls().grid[r][1], "lg" + std::to_string(r - 1));
    EXPECT_EQ(controls().grid[r][2], "++++");
    EXPECT_EQ(controls().grid[r][3], "name " + std::to_string(r - 1));
  }
  typePassword(4, "secret");
  EXPECT_EQ(controls().grid[4][2], "*******");
  EXPECT_EQ(controls().grid[3][2], "++++");
  // With VisSgn ticked, the next read and the next entry show passwords in clear.
  logins().VisSgnClick(true);
  EXPECT_EQ(controls().grid[4][2], "*******") << "ticking does not redraw";
  typePassword(2, "clear");
  EXPECT_EQ(controls().grid[2][2], "clear");
  read(deviceBlock());
  EXPECT_EQ(controls().grid[5][2], "pw4");
}

TEST_F(UserLoginsTest, SetAllTakesLoginsAndNamesFromTheGridPasswordsOnlyFromReadOrOverlay) {
  read(deviceBlock());
  logins().setCell(1, C::kLoginColumn, "abcdefgh");  // 8 characters: 5 are sent
  logins().setCell(1, C::kPasswordColumn, "typedInGrid");
  logins().setCell(2, C::kNameColumn, std::string(30, 'n'));
  typePassword(3, "0123456789abcdef");  // 16 characters: 12 kept
  const Bytes block = written();
  EXPECT_EQ(slotText(block, 0, 6), "abcde");
  EXPECT_EQ(block[5], 0);
  EXPECT_EQ(slotText(block, 60, 13), "pw0") << "the grid's password column is ignored";
  EXPECT_EQ(slotText(block, 190 + 21, 21), std::string(20, 'n'));
  EXPECT_EQ(slotText(block, 60 + 2 * 13, 13), "0123456789ab");
  EXPECT_EQ(slotText(block, 6 * 9, 6), "lg9");
  EXPECT_EQ(Bytes(block.begin() + 400, block.end()), (Bytes{1, 2, 3, 4}))
      << "the device's bytes go back as received";
}

TEST_F(UserLoginsTest, OverlayLeftWithoutTypingKeepsThePassword) {
  read(deviceBlock());
  logins().LoginUserTabSelectCell(2);
  logins().LoginUserTabClick(C::kPasswordColumn, {});
  logins().PswSelExit("", false);
  EXPECT_EQ(controls().grid[2][2], "++++");
  EXPECT_EQ(slotText(written(), 60 + 13, 13), "pw1");
}

TEST_F(UserLoginsTest, OverlayIsPlacedOverThePasswordCellAndHiddenByOtherColumns) {
  GridCellPlace p;
  p.gridLeft = 10, p.gridTop = 30, p.cellLeft = 183, p.cellTop = 61;
  p.cellWidth = 119, p.cellHeight = 20, p.lineWidth = 1;
  controls().pswSel.text = "old";
  logins().LoginUserTabClick(C::kPasswordColumn, p);
  const PswSelOverlay& o = controls().pswSel;
  EXPECT_TRUE(o.visible);
  EXPECT_EQ(o.left, 10 + 183 + 1 + 1);
  EXPECT_EQ(o.top, 30 + 61 + 1);
  EXPECT_EQ(o.width, 119);
  EXPECT_EQ(o.height, 21);
  EXPECT_EQ(o.text, "") << "shown empty";
  logins().LoginUserTabClick(C::kNameColumn, p);
  EXPECT_FALSE(controls().pswSel.visible);
}

TEST_F(UserLoginsTest, SetSelUserSendsMessage554ButMemo10DoesNotShowIt) {
  device.connection.controls.recOpen = true;
  device.connection.LanOnClick();
  device.connection.LanOnClick();  // reconnect with the integrator link
  connectMain();
  portRec().connect();
  read(deviceBlock());
  logins().LoginUserTabSelectCell(3);
  EXPECT_EQ(controls().lSelUser, "3");
  logins().setCell(3, C::kLoginColumn, "longlogin");
  logins().SetSelLogClick();
  std::vector<IntegratorTraffic> seen;
  const auto id =
      device.integrator.onTraffic.connect([&](const IntegratorTraffic& t) { seen.push_back(t); });
  relTim().fire();
  device.integrator.onTraffic.disconnect(id);
  ASSERT_EQ(portRec().writes.size(), 1u);
  const Bytes frame = portRec().takeWrite();
  EXPECT_EQ(std::string(frame.begin() + 1, frame.end() - 2), "554\t1\t2\tlongl\tpw2\tname 2");
  const BoundedLog& memo = device.integrator.controls.memo10;
  ASSERT_FALSE(memo.empty());
  EXPECT_EQ(memo.back(), "554\t(user account, not shown)");
  for (const std::string& line : memo) EXPECT_EQ(line.find("pw2"), std::string::npos) << line;
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "554\t(user account, not shown)");
}

TEST_F(UserLoginsTest, ShortReplyLeavesMissingSlotsEmptyAndIsReported) {
  read(deviceBlock());
  size_t shortCode = 0, have = 0, wanted = 0;
  const auto id = device.channel.onShortReply.connect([&](int code, size_t h, size_t w) {
    shortCode = static_cast<size_t>(code), have = h, wanted = w;
  });
  const Bytes full = deviceBlock();
  read(Bytes(full.begin(), full.begin() + 70));  // logins and most of password 0
  device.channel.onShortReply.disconnect(id);
  EXPECT_EQ(shortCode, 38u);
  EXPECT_EQ(have, 70u);
  EXPECT_EQ(wanted, kUserBlockSize);
  const UserAccounts a = logins().accounts();
  EXPECT_EQ(a[9].login, "lg9");
  EXPECT_EQ(a[0].password, "pw0");
  EXPECT_EQ(a[1].password, "") << "nothing of the earlier read is left over";
  EXPECT_EQ(a[0].name, "");
  EXPECT_EQ(controls().grid[10][3], "");
  EXPECT_NE(shell().errorBar[1].find("Short reply 38"), std::string::npos);
}

TEST_F(UserLoginsTest, TrafficLogHidesTheAccountsBothWays) {
  read(deviceBlock());
  written();
  ASSERT_GE(device.traffic.size(), 3u);
  const std::string all = device.traffic.text();
  EXPECT_NE(all.find("(404 bytes, not shown)"), std::string::npos) << all;
  EXPECT_EQ(all.find("70 77 30"), std::string::npos) << "a password's bytes: " << all;
}

TEST_F(UserLoginsTest, SnapshotInterfaceReadsSetsAndWritesTheTen) {
  int reads = 0;
  const auto id = logins().onRead.connect([&] { ++reads; });
  logins().readAccounts();
  device.channel.sendNextCmd();
  EXPECT_EQ(sentCodes(), std::vector<int>{38});
  lan2().receive(replyFrame(38, deviceBlock()));
  EXPECT_EQ(reads, 1);
  logins().onRead.disconnect(id);
  UserAccounts accounts = logins().accounts();
  accounts[7] = {"new", "newpass", "New Name"};
  logins().setAccounts(accounts);
  const Bytes block = written();
  EXPECT_EQ(slotText(block, 6 * 7, 6), "new");
  EXPECT_EQ(slotText(block, 60 + 13 * 7, 13), "newpass");
  EXPECT_EQ(slotText(block, 190 + 21 * 7, 21), "New Name");
  EXPECT_EQ(slotText(block, 60, 13), "pw0");
  lan2().receive(replyFrame(39, {}));

  RequestEnd ended = RequestEnd::Refused;
  bool told = false;
  const auto endId = logins().onReadEnded.connect([&](RequestEnd e) { ended = e, told = true; });
  logins().readAccounts();
  device.channel.sendNextCmd();
  silence();
  silence();
  logins().onReadEnded.disconnect(endId);
  EXPECT_TRUE(told);
  EXPECT_EQ(ended, RequestEnd::NoReply);
}

TEST_F(UserLoginsTest, DisconnectMarksTheGridNotCurrent) {
  read(deviceBlock());
  EXPECT_TRUE(controls().current);
  device.connection.LanOffClick();
  EXPECT_FALSE(controls().current);
}

TEST(UserListFile, AcceptsTenLinesWithEitherLineEnd) {
  std::string lf, crlf;
  for (int i = 0; i < 10; ++i) {
    const std::string line = "u" + std::to_string(i) + "\tp\tName " + std::to_string(i);
    lf += line + "\n";
    crlf += line + "\r\n";
  }
  lf.pop_back();  // no last line end
  for (const std::string& content : {lf, crlf}) {
    UserAccounts a;
    std::string error;
    ASSERT_TRUE(parseUserList(content, "f", a, error)) << error;
    EXPECT_EQ(a[9], (UserAccount{"u9", "p", "Name 9"}));
  }
}

TEST(UserListFile, RefusesWithTheLineNumber) {
  const std::string ten = "a\tb\tc\n";
  struct Case {
    std::string content;
    std::string expected;
  };
  std::string nine;
  for (int i = 0; i < 9; ++i) nine += ten;
  const Case cases[] = {
      {nine, "f has 9 lines; a user list has exactly 10"},
      {nine + ten + ten, "f has more than 10 lines"},
      {nine + "sixsix\tb\tc\n", "f line 10: login of 6 characters; at most 5"},
      {"a\t1234567890123\tc\n" + nine, "f line 1: password of 13 characters; at most 12"},
      {ten + "a\tb\t" + std::string(21, 'x') + "\n" + nine.substr(ten.size()),
       "f line 2: name of 21 characters; at most 20"},
      {ten + ten + "a\tb\n" + nine.substr(2 * ten.size()),
       "f line 3: 2 fields; login, password and name are three"},
      {std::string("a\0\tb\tc\n", 7) + nine, "f line 1: login holds a zero byte"},
  };
  for (const Case& c : cases) {
    UserAccounts a;
    a[0].login = "keep";
    std::string error;
    EXPECT_FALSE(parseUserList(c.content, "f", a, error)) << c.expected;
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_EQ(a[0].login, "keep") << "unchanged when refused";
  }
}
