// vantorctl's terminal, QX3, clock and serial commands against rw4000-sim over
// loopback. Each test has its own 127.0.0.N (220 upwards).
#include <gtest/gtest.h>

#include <QDateTime>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "processes.h"

using namespace vantor::e2e;

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The screen line that carries the selection marker.
std::string chosenLine(const std::vector<std::string>& screen) {
  for (const std::string& line : screen)
    if (!line.empty() && line[0] == '>') return line;
  return {};
}

}  // namespace

// Walking the menu with the display terminal's keys changes the screen; each
// run prints the screen after its last key.
TEST(TerminalE2E, KeysWalkTheMenuAndTheScreenFollows) {
  SimProcess sim("127.0.0.220");
  ASSERT_TRUE(sim.ready());
  const CtlResult show = runCtl({"--host", "127.0.0.220", "terminal", "show"});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  std::vector<std::string> screen = lines(show.out);
  ASSERT_EQ(screen.size(), 16u) << show.out;
  EXPECT_EQ(screen[0], "RW4000 SIM   Menu principal");
  EXPECT_EQ(chosenLine(screen), "> 1 Produto");

  const CtlResult down = runCtl({"--host", "127.0.0.220", "terminal", "keys", "Dw", "Dw"});
  ASSERT_EQ(down.exitCode, 0) << down.err;
  EXPECT_EQ(chosenLine(lines(down.out)), "> 3 Pesagem");

  const CtlResult into = runCtl({"--host", "127.0.0.220", "terminal", "keys", "Ent", "Rg", "Ent"});
  ASSERT_EQ(into.exitCode, 0) << into.err;
  screen = lines(into.out);
  ASSERT_EQ(screen.size(), 16u);
  EXPECT_EQ(screen[0], "Pesagem");
  EXPECT_EQ(chosenLine(screen), "> Alvo g                  501");
  EXPECT_EQ(screen[14], "Gravado");

  // The keypad terminal's keys: sent without a read-back, nothing printed;
  // the next read shows where they led (Bk back, F1 up to the second entry).
  const CtlResult keypad =
      runCtl({"--host", "127.0.0.220", "terminal", "keys", "--qx5", "Bk", "F1"});
  ASSERT_EQ(keypad.exitCode, 0) << keypad.err;
  EXPECT_EQ(keypad.out, "");
  const CtlResult after = runCtl({"--host", "127.0.0.220", "terminal", "show"});
  EXPECT_EQ(chosenLine(lines(after.out)), "> 2 Velocidade");
  // And the status poll's menu line follows the terminal.
  const CtlResult raw = runCtl({"--host", "127.0.0.220", "raw", "51"});
  ASSERT_EQ(raw.exitCode, 0) << raw.err;
  // Frame offset 9 + 14 holds the menu line: the 24th byte of the hex dump.
  EXPECT_EQ(raw.out.substr(23 * 3, 2), "01") << raw.out;
}

TEST(TerminalE2E, UnknownKeyIsAUsageErrorBeforeConnecting) {
  // No simulator: the command ends before it would connect.
  const CtlResult r = runCtl({"--host", "127.0.0.221", "terminal", "keys", "5", "F1"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("'F1' is not a key of the display terminal"), std::string::npos) << r.err;
  const CtlResult q = runCtl({"--host", "127.0.0.221", "terminal", "keys", "--qx5", "Up"});
  EXPECT_EQ(q.exitCode, 2);
}

TEST(TerminalE2E, Qx3QueriesAndWritesTheModule) {
  SimProcess sim("127.0.0.222");
  ASSERT_TRUE(sim.ready());
  struct Step {
    std::vector<QString> args;
    std::string out;
  } steps[] = {
      {{"VER"}, "QX3 SIM V1.07\n"},
      {{"snb"}, "40071234\n"},
      {{"UCW", "2000"}, "OK\n"},
      {{"UCW"}, "2000\n"},
      {{"IZA"}, "ERR\n"},  // "IZA?" is no command
      {{"XYZ"}, ""},
  };
  for (const Step& s : steps) {
    QStringList args{"--host", "127.0.0.222", "qx3"};
    for (const QString& a : s.args) args << a;
    const CtlResult r = runCtl(args);
    EXPECT_EQ(r.out, s.out) << args.join(' ').toStdString();
    EXPECT_EQ(r.exitCode, s.out.empty() ? 2 : 0) << r.err;
  }
  // 3 letters and 39 characters are more than the module's 41.
  const CtlResult longer =
      runCtl({"--host", "127.0.0.222", "qx3", "UCW", QString(39, QLatin1Char('1'))});
  EXPECT_EQ(longer.exitCode, 2);
  EXPECT_NE(longer.err.find("at most 41"), std::string::npos) << longer.err;
}

TEST(TerminalE2E, ClockSetThenGetShowsThePcTime) {
  SimProcess sim("127.0.0.223");
  ASSERT_TRUE(sim.ready());
  // First far from the PC's time (01-01-2000 12:00:00), so the setting shows.
  const CtlResult old =
      runCtl({"--host", "127.0.0.223", "raw", "5",  "30", "31", "30", "31", "32", "30",
              "30",     "30",          "00",  "31", "32", "30", "30", "30", "30", "00"});
  ASSERT_EQ(old.exitCode, 0) << old.err;
  const CtlResult oldGet = runCtl({"--host", "127.0.0.223", "clock", "get"});
  EXPECT_TRUE(std::regex_match(oldGet.out, std::regex("12:00:0\\d 01-01-2000\n"))) << oldGet.out;
  const CtlResult set = runCtl({"--host", "127.0.0.223", "clock", "set"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const QDateTime before = QDateTime::currentDateTime();
  const CtlResult get = runCtl({"--host", "127.0.0.223", "clock", "get"});
  const QDateTime after = QDateTime::currentDateTime();
  ASSERT_EQ(get.exitCode, 0) << get.err;
  ASSERT_TRUE(std::regex_match(get.out, std::regex("\\d\\d:\\d\\d:\\d\\d \\d\\d-\\d\\d-\\d{4}\n")))
      << get.out;
  const QDateTime shown = QDateTime::fromString(QString::fromStdString(get.out.substr(0, 19)),
                                                QStringLiteral("HH:mm:ss dd-MM-yyyy"));
  ASSERT_TRUE(shown.isValid()) << get.out;
  // Whole seconds: the device's clock may lag the PC's by the part of a second
  // that the setting dropped.
  EXPECT_GE(shown.secsTo(after), 0) << get.out;
  EXPECT_LE(before.secsTo(shown), 2) << get.out;
  EXPECT_GE(before.secsTo(shown), -2) << get.out;
}

TEST(TerminalE2E, SerialSendThenReadShowsTextAndHexLines) {
  SimProcess sim("127.0.0.224");
  ASSERT_TRUE(sim.ready());
  // Port 3 has a loopback plug; "#" as the end character.
  const CtlResult send =
      runCtl({"--host", "127.0.0.224", "serial", "send", "3", "hello", "--end", "35"});
  ASSERT_EQ(send.exitCode, 0) << send.err;
  EXPECT_EQ(send.out, "");
  const CtlResult read = runCtl({"--host", "127.0.0.224", "serial", "read", "3"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const std::vector<std::string> memo = lines(read.out);
  ASSERT_EQ(memo.size(), 18u) << read.out;
  EXPECT_EQ(memo[0], "hello#");
  EXPECT_EQ(memo[1], "");
  EXPECT_EQ(memo[2], "68  65  6C  6C  6F  23  00  00  00  00  00  00  00  00  00  00  ");
  for (size_t i = 2; i < 18; ++i) EXPECT_EQ(memo[i].size(), 64u);
  // Read again: the device emptied the buffer.
  EXPECT_EQ(lines(runCtl({"--host", "127.0.0.224", "serial", "read", "3"}).out).at(0), "");

  // The module on port 2 answers a line ended by a carriage return (the default).
  ASSERT_EQ(runCtl({"--host", "127.0.0.224", "serial", "send", "2", "IZA"}).exitCode, 0);
  EXPECT_EQ(lines(runCtl({"--host", "127.0.0.224", "serial", "read", "2"}).out).at(0), "OK");

  struct Bad {
    QStringList args;
  } bad[] = {
      {{"serial", "send", "4", "x"}},
      {{"serial", "send", "2", "x", "--end", "0"}},
      {{"serial", "send", "2", QString(256, QLatin1Char('a'))}},
      {{"serial", "read", "9"}},
  };
  for (const Bad& b : bad) {
    const CtlResult r = runCtl(QStringList{"--host", "127.0.0.224"} + b.args);
    EXPECT_EQ(r.exitCode, 2) << b.args.join(' ').toStdString() << r.err;
  }
}
