// Thinking time of veltrix and the option values its front end clamps.
#include <string>

#include <gtest/gtest.h>

#include "engine/search_limits.h"
#include "veltrix/threads.h"
#include "veltrix/time.h"
#include "veltrix_support.h"

using namespace veltrix;

namespace {

struct ClockTest : ::testing::Test {
  ClockRecord savedClock = Clock;
  EngineOptions savedEngine = Engine;
  // The figures of the allocation itself; the overhead comes off afterwards.
  ClockTest() { Limits.moveOverheadMs = 0; }
  ~ClockTest() override {
    Clock = savedClock;
    Engine = savedEngine;
    Limits = SearchLimits{};
  }

  Position white = veltrix_position(StartFen);
  Position black = veltrix_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");

  void clocks(int ms, int movesToGo, int increment) {
    Clock.wtime = Clock.btime = ms;
    Clock.wMovesToGo = Clock.bMovesToGo = movesToGo;
    Clock.winc = Clock.binc = increment;
  }
};

TEST_F(ClockTest, SuddenDeathTakesAThirtiethAndWatchesTheClockClosely) {
  Engine.ponderOption = Engine.pondering = 0;
  clocks(10000, 0, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 333);
  EXPECT_EQ(Clock.maximum, 666);
  EXPECT_EQ(Clock.pollInterval, 1000u);
  EXPECT_EQ(Clock.nextPoll, 1000u);
  EXPECT_TRUE(Search.lowTime);
  clocks(60000, 0, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 2000);
  EXPECT_EQ(Clock.maximum, 4000);
  EXPECT_EQ(Clock.pollInterval, 1000u) << "well under a millisecond between two looks at the clock";
  EXPECT_FALSE(Search.lowTime);
  // Low-time mode starts below 12 seconds.
  clocks(12000, 0, 0);
  allocate_time(white);
  EXPECT_FALSE(Search.lowTime);
  clocks(11999, 0, 0);
  allocate_time(white);
  EXPECT_TRUE(Search.lowTime);
}

TEST_F(ClockTest, MovesToGoIncrementAndTheSideToMove) {
  Engine.ponderOption = Engine.pondering = 0;
  clocks(60000, 9, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 6000);
  clocks(60000, 50, 0);  // never more than 40 parts
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 1500);
  clocks(60000, 0, 1000);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 3500);
  // A large increment with a nearly empty clock: never more than half of it.
  clocks(300, 0, 2000);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 150);
  EXPECT_EQ(Clock.maximum, 150);
  // One move to go: a thirtieth, as without moves to go; "movetime" gives the
  // whole of it, less the overhead.
  clocks(5000, 1, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 166);
  Clock.movetime = 5000;
  Limits.moveOverheadMs = 10;
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 4990);
  EXPECT_EQ(Clock.maximum, 4990);
  Clock.movetime = 0;
  Limits.moveOverheadMs = 0;
  Clock.btime = 90000;
  allocate_time(black);
  EXPECT_EQ(Clock.sideTime, 90000);
  EXPECT_EQ(Clock.allotted, 3000);
  // A clock at zero or below still gets a millisecond.
  clocks(-50, 0, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 1);
  EXPECT_EQ(Clock.maximum, 1);
}

TEST_F(ClockTest, PonderingAddsAnEighthAndPollsOften) {
  Engine.ponderOption = 1;
  Engine.pondering = 1;
  clocks(60000, 0, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 2250);
  EXPECT_EQ(Clock.pollInterval, 1000u);
  // "go depth" and "go infinite" clocks: 36,000,000 ms give 1,200,000.
  Engine.ponderOption = Engine.pondering = 0;
  clocks(36000000, 1, 0);
  allocate_time(white);
  EXPECT_EQ(Clock.allotted, 1200000);
}

TEST(Options, ThreadsHashAndNetworkFileLimits) {
  EXPECT_EQ(clamp_thread_count(64, 8), 8);
  EXPECT_EQ(clamp_thread_count(64, 32), 16);
  EXPECT_EQ(clamp_thread_count(0, 8), 1);
  EXPECT_EQ(clamp_thread_count(3, 1), 1);

  EngineOptions saved = Engine;
  std::string longest(255, 'n'), tooLong(256, 'n');
  EXPECT_TRUE(set_nnue_file(longest.c_str()));
  EXPECT_EQ(std::string(Engine.nnueFile), longest);
  EXPECT_FALSE(set_nnue_file(tooLong.c_str()));
  EXPECT_EQ(std::string(Engine.nnueFile), longest);
  Engine = saved;
}

}  // namespace
