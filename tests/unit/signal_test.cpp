#include "link/signal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/bounded_log.h"

using namespace vantor;

TEST(Signal, EverySubscriberHearsEachEmissionInOrderUntilItLeaves) {
  Signal<int> signal;
  std::vector<std::string> heard;
  const auto a = signal.connect([&](int v) { heard.push_back("a" + std::to_string(v)); });
  {
    Subscription<int> b(signal, [&](int v) { heard.push_back("b" + std::to_string(v)); });
    signal(1);
  }
  signal(2);
  signal.disconnect(a);
  signal(3);
  EXPECT_EQ(heard, (std::vector<std::string>{"a1", "b1", "a2"}));
  EXPECT_TRUE(signal.empty());
}

TEST(Signal, SlotsMayJoinAndLeaveWhileTheSignalIsEmitted) {
  Signal<> signal;
  std::vector<std::string> heard;
  Signal<>::Id second = 0;
  signal.connect([&] {
    heard.push_back("first");
    signal.disconnect(second);  // a slot removed during an emission is not called
    signal.connect([&] { heard.push_back("late"); });  // called from the next emission
  });
  second = signal.connect([&] { heard.push_back("second"); });
  signal();
  EXPECT_EQ(heard, (std::vector<std::string>{"first"}));
  heard.clear();
  signal();
  EXPECT_EQ(heard, (std::vector<std::string>{"first", "late"}));
}

TEST(BoundedLog, KeepsTheNewestLinesAndSaysOnceThatOlderOnesWentAway) {
  BoundedLog log(4);
  for (int i = 0; i < 4; ++i) log.append("line " + std::to_string(i));
  EXPECT_EQ(log.dropped(), 0u);
  log.append("line 4");
  EXPECT_EQ(
      std::vector<std::string>(log.begin(), log.end()),
      (std::vector<std::string>{
          "line 2", "line 3", "(older lines dropped: only the newest lines are kept)", "line 4"}));
  for (int i = 5; i < 12; ++i) log.append("line " + std::to_string(i));
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.end()),
            (std::vector<std::string>{"line 8", "line 9", "line 10", "line 11"}));
  EXPECT_EQ(log.total(), 13u);  // twelve lines and the notice
  EXPECT_EQ(log.dropped(), 9u);
}
