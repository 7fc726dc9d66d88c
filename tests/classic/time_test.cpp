// Time allocation for one move, and the clock side of the polling.
#include <climits>

#include "engine/search_limits.h"
#include "platform/platform.h"
#include "search/time.h"
#include "search_support.h"

using namespace classic;

namespace {

class TimeAllocation : public SearchTest {
 protected:
  // The figures of the allocation itself; the overhead comes off afterwards.
  void SetUp() override {
    SearchTest::SetUp();
    Limits.moveOverheadMs = 0;
  }
  void TearDown() override {
    Limits = SearchLimits{};
    SearchTest::TearDown();
  }
  // The limits "go" leaves for white to move with the given clock.
  void allocate(int ms, int increment = 0, int movesToGo = 0, const char* fen = StartFen) {
    set_both_clocks(Time, ms, movesToGo);
    for (SideClock& c : Time.side) c.increment = increment;
    Position pos = position_from(fen);
    allocate_time(pos);
  }
};

TEST_F(TimeAllocation, SuddenDeathAndIncrement) {
  allocate(60000);
  EXPECT_EQ(Time.limit, 1500u);
  EXPECT_EQ(Time.pollInterval, 1000) << "PlayLevel is never 0";
  EXPECT_EQ(Search.lowTime, 0);

  allocate(10000, 1000);
  EXPECT_EQ(Time.limit, 833u);
  EXPECT_EQ(Time.pollInterval, 100);
  EXPECT_EQ(Search.lowTime, 1);
}

TEST_F(TimeAllocation, NeverMoreThanHalfTheClockLeft) {
  allocate(300, 1000);
  EXPECT_EQ(Time.limit, 150u) << "a third of the increment would be more than the clock holds";
  allocate(2000, 1000);
  EXPECT_EQ(Time.limit, 433u);
  Time.movetime = true;
  allocate(300, 0, 1);
  EXPECT_EQ(Time.limit, 300u) << "a fixed move time is given whole";
}

TEST_F(TimeAllocation, MovesToGo) {
  allocate(100000, 0, 40);
  EXPECT_EQ(Time.limit, 3048u);
  allocate(1000, 0, 1);
  EXPECT_EQ(Time.limit, 500u);
  allocate(10000, 0, 30);
  EXPECT_EQ(Time.limit, 322u) << "no quarter added when short of time";
}

TEST_F(TimeAllocation, MovetimeGivesTheWholeTimeLessTheOverhead) {
  Time.movetime = true;
  allocate(1000, 0, 1);
  EXPECT_EQ(Time.limit, 1000u);
  Limits.moveOverheadMs = 30;
  allocate(1000, 0, 1);
  EXPECT_EQ(Time.limit, 970u);
  allocate(20, 0, 1);
  EXPECT_EQ(Time.limit, 1u) << "never less than a millisecond";
}

TEST_F(TimeAllocation, PonderingKeepsAQuarterMore) {
  Time.infinite = true;
  allocate(60000);
  EXPECT_EQ(Time.limit, 1875u);
  EXPECT_EQ(Time.pollInterval, 1000);
}

TEST_F(TimeAllocation, TheSideToMovesClockCountsAndNeverLessThanOneMillisecond) {
  set_both_clocks(Time, 60000);
  Time.side[Black].time = 4000;
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -");
  allocate_time(pos);
  EXPECT_EQ(Time.limit, 100u);
  EXPECT_EQ(Time.sideTime, 4000);

  allocate(0);
  EXPECT_EQ(Time.limit, 1u);
  allocate(-500, -100);
  EXPECT_EQ(Time.limit, 1u) << "a clock already run down";
}

TEST_F(TimeAllocation, PollingStopsOnTheClockOnlyOnceABestMoveExists) {
  allocate(60000);
  Time.pollInterval = 3;
  Time.limit = 1000;
  Time.startMs = uint32_t(now_ms()) - 5000;
  Signals.stop = false;
  Search.rootBestMove = 0;
  EXPECT_FALSE(poll_input());
  EXPECT_FALSE(poll_input());
  EXPECT_FALSE(poll_input()) << "no best move yet";
  Search.rootBestMove = 1;
  EXPECT_FALSE(poll_input());
  EXPECT_FALSE(poll_input());
  EXPECT_TRUE(poll_input()) << "the third node looks at the clock";
  EXPECT_TRUE(Signals.stop);
  Signals.stop = false;
  Search.rootBestMove = 0;
}

}  // namespace
