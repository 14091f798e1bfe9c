// The simulated display terminal, serial ports with their weighing module,
// and the device clock, driven through the device's reply function.
#include "sim_terminal.h"

#include <gtest/gtest.h>

#include <string>

#include "sim_clock.h"
#include "sim_device.h"
#include "sim_serial.h"

namespace {

using rwsim::Bytes;
using rwsim::Frame;

struct Sim {
  std::uint64_t ms = 0;
  rwsim::SimDevice device{[this] { return ms; }};

  // The reply's ACK byte and payload.
  std::pair<std::uint8_t, Bytes> ask(std::uint8_t command, Bytes params = {}) {
    const Bytes f = device.reply(Frame{1, command, std::move(params)});
    return {f.at(8), Bytes(f.begin() + 9, f.end() - 3)};
  }
  std::string line(std::size_t i) {
    const Bytes p = ask(3).second;
    std::string text;
    for (std::size_t k = 0; k < 31 && p.at(i * 31 + k) != 0; ++k)
      text.push_back(static_cast<char>(p.at(i * 31 + k)));
    return text;
  }
  void keys(const std::string& codes) {
    for (char c : codes) EXPECT_EQ(ask(4, {static_cast<std::uint8_t>(c)}).first, rwsim::kAck);
  }
  std::pair<int, int> menuMarks() {
    const Bytes p = ask(51).second;
    return {p.at(14), p.at(15)};
  }
  Bytes send(std::uint8_t port, const std::string& text, std::uint8_t end = 13) {
    Bytes params{port};
    params.insert(params.end(), text.begin(), text.end());
    params.push_back(end);
    EXPECT_EQ(ask(2, params).first, rwsim::kAck) << text;
    return ask(1, {port}).second;
  }
};

std::string text(const Bytes& b) {
  std::string out;
  for (std::uint8_t c : b) {
    if (c == 0) break;
    out.push_back(static_cast<char>(c));
  }
  return out;
}

}  // namespace

TEST(SimTerminal, ScreenIsSixteenSlotsOfThirtyOneBytesEachEndingInZero) {
  Sim sim;
  const auto [ack, p] = sim.ask(3);
  EXPECT_EQ(ack, rwsim::kAck);
  ASSERT_EQ(p.size(), 496u);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(p[i * 31 + 30], 0) << "slot " << i;
  EXPECT_EQ(sim.line(2), "> 1 Produto");
  EXPECT_EQ(sim.line(2).substr(0, 1), ">");
  EXPECT_EQ(sim.line(15), "[MENU] SUB  ALT  OK  NUM  OFF ");
}

// Down twice, Enter: the third entry's sub-menu; Rg raises its first value,
// Ent confirms; Bk back to the main menu, where the entry stays chosen.
TEST(SimTerminal, ArrowKeysWalkTheMenuAndTheStatusMarksFollow) {
  Sim sim;
  EXPECT_EQ(sim.menuMarks(), std::make_pair(0, 0));
  sim.keys("BB");
  EXPECT_EQ(sim.line(4).substr(0, 1), ">");
  EXPECT_EQ(sim.menuMarks(), std::make_pair(2, 0));
  sim.keys("E");
  EXPECT_EQ(sim.line(0), "Pesagem");
  EXPECT_EQ(sim.menuMarks(), std::make_pair(0, 1));
  sim.keys("BD");  // second value, one step up
  EXPECT_EQ(sim.line(3), "> Tol - g                   6");
  EXPECT_EQ(sim.menuMarks(), std::make_pair(1, 2));
  sim.keys("E");
  EXPECT_EQ(sim.line(14), "Gravado");
  EXPECT_EQ(sim.menuMarks(), std::make_pair(1, 3));
  sim.keys("F");
  EXPECT_EQ(sim.menuMarks(), std::make_pair(2, 0));
  sim.keys("E");
  EXPECT_EQ(sim.line(3), "  Tol - g                   6");  // confirmed: kept
}

TEST(SimTerminal, BackDropsWhatWasNotConfirmedAndDigitsTypeAValue) {
  Sim sim;
  sim.keys("2E");  // "Velocidade" by its number
  EXPECT_EQ(sim.line(0), "Velocidade");
  sim.keys("DDF");  // +10 not confirmed, back
  sim.keys("E");
  EXPECT_EQ(sim.line(2), "> Pacotes/min             120");
  sim.keys("200");
  EXPECT_EQ(sim.menuMarks().second, 4);
  sim.keys("E");
  EXPECT_EQ(sim.line(2), "> Pacotes/min             200");
  sim.keys("999E");  // clamped to the value's range
  EXPECT_EQ(sim.line(2), "> Pacotes/min             300");
}

// The keypad's codes drive the same menu: F2 down, Ent, M back to the top.
TEST(SimTerminal, KeypadCodesMoveThroughTheSameMenu) {
  Sim sim;
  sim.keys(std::string{2, 2, 2, 10});
  EXPECT_EQ(sim.line(0), "Rejeicao");
  sim.keys(std::string{6});
  EXPECT_EQ(sim.menuMarks(), std::make_pair(0, 0));
  sim.keys(std::string{7});
  EXPECT_EQ(sim.menuMarks().second, 5);
  EXPECT_EQ(sim.line(7), "      Terminal desligado");
  sim.keys(std::string{1});  // any key wakes it
  EXPECT_EQ(sim.menuMarks(), std::make_pair(0, 0));
  EXPECT_EQ(sim.ask(4, {}).first, rwsim::kNak);
}

TEST(SimSerial, ModuleOnPortTwoAnswersItsCommands) {
  struct Case {
    const char* sent;
    const char* answer;
  } cases[] = {
      {"VER?", "QX3 SIM V1.07"}, {"SNB?", "40071234"}, {"UCW?", "1000"},   {"UCW2000", "OK"},
      {"UCW?", "2000"},          {"IZA", "OK"},        {"IFA;NRP1", "OK"}, {"XYZ", "ERR"},
      {"UCW20x", "ERR"},         {"", "ERR"},
  };
  Sim sim;
  for (const Case& c : cases) {
    const Bytes buffer = sim.send(2, c.sent);
    ASSERT_EQ(buffer.size(), 256u);
    EXPECT_EQ(text(buffer), c.answer) << c.sent;
  }
  // Read once more: the buffer was emptied.
  EXPECT_EQ(sim.ask(1, {2}).second, Bytes(256, 0));
}

TEST(SimSerial, LineWaitsForCarriageReturnAndOtherPortsBehaveAsWired) {
  Sim sim;
  EXPECT_EQ(text(sim.send(2, "VER?", '#')), "");  // no end of line yet
  EXPECT_EQ(text(sim.send(2, "", 13)), "ERR");    // "VER?#" is no command
  EXPECT_EQ(text(sim.send(3, "loop")), "loop\r");
  EXPECT_EQ(text(sim.send(0, "nobody")), "");
  EXPECT_EQ(sim.device.serialPorts().lastSent(0), "nobody\r");
  EXPECT_EQ(sim.ask(2, {4, 'a', 13}).first, rwsim::kNak);
  EXPECT_EQ(sim.ask(2, {2}).first, rwsim::kNak);
  EXPECT_EQ(sim.ask(1, {4}).first, rwsim::kNak);
  // A buffer keeps 256 bytes; more is lost.
  const std::string many(200, 'x');
  sim.ask(2, Bytes{3, 'x'});
  Bytes params{3};
  params.insert(params.end(), many.begin(), many.end());
  params.push_back('y');
  sim.ask(2, params);
  sim.ask(2, params);
  const Bytes buffer = sim.ask(1, {3}).second;
  EXPECT_EQ(buffer.size(), 256u);
  EXPECT_EQ(buffer.back(), 'x');
}

TEST(SimClock, SetClockKeepsRunning) {
  Sim sim;
  Bytes set{'0', '7', '0', '3', '2', '0', '2', '4', 0, '0', '9', '0', '5', '0', '3', 0};
  EXPECT_EQ(sim.ask(5, set).first, rwsim::kAck);
  EXPECT_EQ(text(sim.ask(6).second), "07032024090503");
  sim.ms += 61500;
  EXPECT_EQ(text(sim.ask(6).second), "07032024090604");
  sim.ms += 86400000;
  EXPECT_EQ(text(sim.ask(6).second), "08032024090604");
  Bytes endOfYear{'3', '1', '1', '2', '2', '0', '2', '4', 0, '2', '3', '5', '9', '5', '9', 0};
  sim.ask(5, endOfYear);
  sim.ms += 1000;
  EXPECT_EQ(text(sim.ask(6).second), "01012025000000");
}

TEST(SimClock, InvalidTimesAreRefused) {
  Sim sim;
  const std::string before = text(sim.ask(6).second);
  for (const char* bad : {"30022024", "00012024", "07132024"}) {
    Bytes set(bad, bad + 8);
    set.push_back(0);
    for (char c : std::string("090503")) set.push_back(static_cast<std::uint8_t>(c));
    set.push_back(0);
    EXPECT_EQ(sim.ask(5, set).first, rwsim::kNak) << bad;
  }
  EXPECT_EQ(sim.ask(5, Bytes(15, '0')).first, rwsim::kNak);
  Bytes lateHour{'0', '7', '0', '3', '2', '0', '2', '4', 0, '2', '4', '0', '0', '0', '0', 0};
  EXPECT_EQ(sim.ask(5, lateHour).first, rwsim::kNak);
  EXPECT_EQ(text(sim.ask(6).second), before);
}
