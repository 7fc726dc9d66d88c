// The win/draw/loss model: shares that add up, move the right way with the score
// and the material, and certainty where a mate or the tables decide.
#include <gtest/gtest.h>

#include "engine/score.h"
#include "engine/wdl.h"
#include "support/board_setup.h"

namespace {

constexpr WdlModel Model{{50, 0, 0, 150}, {80, 0, 0, 60}};

int sum(Wdl w) { return w.win + w.draw + w.loss; }

TEST(Wdl, SharesAddUpAndTurnWithTheScore) {
  Wdl previous = wdl_of_score(Model, -2000, 40);
  for (int score = -1990; score <= 2000; score += 10) {
    Wdl w = wdl_of_score(Model, score, 40);
    EXPECT_EQ(sum(w), 1000) << score;
    EXPECT_GE(w.win, previous.win) << score;
    EXPECT_LE(w.loss, previous.loss) << score;
    EXPECT_GE(w.draw, 0);
    previous = w;
  }
  Wdl even = wdl_of_score(Model, 0, 40);
  EXPECT_EQ(even.win, even.loss);
  EXPECT_GT(even.draw, even.win);
  // The same edge weighs more with fewer pieces left to turn the game round.
  EXPECT_GT(wdl_of_score(Model, 150, 20).win, wdl_of_score(Model, 150, 70).win);
}

TEST(Wdl, MatesAndTableResultsAreCertain) {
  EXPECT_EQ(wdl_of_score(Model, SCORE_MATE - 5, 40).win, 1000);
  EXPECT_EQ(wdl_of_score(Model, -SCORE_MATE + 4, 40).loss, 1000);
  EXPECT_EQ(wdl_of_score(Model, tb_win_at(7), 10).win, 1000);
  EXPECT_EQ(wdl_of_score(Model, -tb_win_at(7), 10).loss, 1000);
  EXPECT_EQ(certain_wdl(0).draw, 1000);
  EXPECT_EQ(sum(certain_wdl(1)), 1000);
}

TEST(Wdl, MaterialCountsBothSidesWithoutKings) {
  EXPECT_EQ(wdl_material(position_from(StartFen)), 78);
  EXPECT_EQ(wdl_material(position_from("4k3/8/8/8/8/8/3P4/2RQK3 w - - 0 1")), 15);
}

}  // namespace
