// The search of veltrix: reductions, mates and draws, the answers without a
// search, the clock, the incremental network evaluation against the full one, and
// the table's ages over a game; the levels of the limited player.

#include <gtest/gtest.h>

#include "support/game_ages.h"
#include "veltrix/bench.h"
#include "veltrix/evaluation.h"
#include "veltrix/history.h"
#include "veltrix/picker.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/strength.h"
#include "veltrix/uci.h"
#include "veltrix_support.h"

using namespace veltrix;

namespace {

struct EvaluationSwitches {
  EngineOptions saved = Engine;
  ~EvaluationSwitches() {
    Engine = saved;
    ForceFullRefresh = false;
  }
};

TEST(Search, ReductionsInSinglePrecision) {
  ensure_veltrix();
  EXPECT_EQ(base_reduction(10, 20, false), 3);
  EXPECT_EQ(base_reduction(10, 20, true), 2);
  EXPECT_EQ(base_reduction(3, 2, false), 0);  // below one ply: no reduction at all
  EXPECT_EQ(base_reduction(200, 200, false), base_reduction(63, 63, false));
  history_clear();
  Position pos = veltrix_position(StartFen);
  Move m = parse_move(pos, "a2a3", Dialect::Veltrix);
  SharedHistory[WhitePawn][A3].store(-1);
  EXPECT_EQ(reduction(10, 20, AllNode, m), 4);
  EXPECT_EQ(reduction(10, 20, CutNode, m), 3);
  EXPECT_EQ(reduction(10, 20, PvNode, m), 2);
  history_clear();
}

TEST(Search, FindsTheShortestMate) {
  EvaluationSwitches guard;
  Engine.nnueEval = 0;
  Position pos = veltrix_position("k7/8/2K5/8/8/8/8/7R w - -");
  EXPECT_EQ(search_to_depth(pos, 6), SCORE_MATE - 3);
  // The mating side's best line starts with the king's approach.
  EXPECT_EQ(move_text(Search.pv[0]), "c6b6");
  Position mated = veltrix_position("k7/7p/1K6/8/8/8/8/6R1 b - -");
  EXPECT_EQ(search_to_depth(mated, 6), mated_in(2));
}

TEST(Search, AnswersWithoutSearchingWhenThereIsNothingToChoose) {
  EvaluationSwitches guard;
  Engine.nnueEval = 0;
  Position pos = veltrix_position("1r6/8/8/8/8/8/2k5/K7 w - -");
  EXPECT_EQ(search_to_depth(pos, 20), 0);
  EXPECT_EQ(move_text(Search.pv[0]), "a1a2");
  EXPECT_EQ(total_nodes(), 0u);
  Position checkmated = veltrix_position("7k/6Q1/6K1/8/8/8/8/8 b - -");
  EXPECT_EQ(search_to_depth(checkmated, 20), -31999);
  EXPECT_EQ(Search.pv[0], 0u);
  Position stalemated = veltrix_position("7k/5Q2/6K1/8/8/8/8/8 b - -");
  EXPECT_EQ(search_to_depth(stalemated, 20), 0);
  EXPECT_EQ(Search.pv[0], 0u);
}

TEST(Search, ARepeatedPositionIsADrawInsideTheTree) {
  EvaluationSwitches guard;
  Engine.nnueEval = 0;
  Position pos = veltrix_position("4k3/8/8/8/8/8/8/QQ2K3 w - -");
  search_to_depth(pos, 1);  // readies the search records
  int ply = 1;
  for (const char* text : {"e1d1", "e8d8", "d1e1", "d8e8"})
    make_move(pos, parse_move(pos, text, Dialect::Veltrix), ply++);
  SearchThread& th = SearchThreads[0];
  EXPECT_EQ(search_node(th, pos, -SCORE_INFINITE, SCORE_INFINITE, 4, 1, PvNode), 0);
  // Two queens up without the repetition: winning.
  Position fresh = veltrix_position("4k3/8/8/8/8/8/8/QQ2K3 w - -");
  EXPECT_GT(search_node(th, fresh, -SCORE_INFINITE, SCORE_INFINITE, 4, 1, PvNode), 1000);
}

TEST(Search, TheClockEndsAnEndlessSearch) {
  EvaluationSwitches guard;
  Engine.nnueEval = 0;
  Position pos = veltrix_position(StartFen);
  Search.reportsOff = true;
  Engine.depthLimit = MaxDepthLimit;
  Engine.pondering = 0;
  Clock.wtime = Clock.btime = 3000;  // a thirtieth: 100 ms
  Clock.wMovesToGo = Clock.bMovesToGo = Clock.winc = Clock.binc = 0;
  start_search(pos);
  EXPECT_TRUE(Signals.stop.load());
  EXPECT_LT(Search.iterationDepth, MaxDepthLimit);
  EXPECT_TRUE(move_is_legal_here(pos, Search.pv[0]));
}

TEST(Search, IncrementalNetworkEvaluationFollowsEveryMove) {
  EvaluationSwitches guard;
  ASSERT_TRUE(load_real_network());
  Engine.nnueEval = 1;
  ensure_veltrix();
  // Random lines with null moves between the moves, evaluated at every ply both ways.
  std::mt19937 rng(11);
  SearchThread& th = SearchThreads[1];
  for (int game = 0; game < 20; game++) {
    Position pos = veltrix_position(StartFen);
    pos.ThreadSlot = 1;
    reset_line(th);
    for (int ply = 0; ply < 60; ply++) {
      ASSERT_EQ(evaluate_at(th, pos, ply), evaluate(pos)) << "game " << game << " ply " << ply;
      MoveList list = legal_moves(pos);
      if (list.count == 0) break;
      if (rng() % 7 == 0 && !in_check(pos))
        play_null_move(th, pos, ply);
      else
        play_move(th, pos, list.moves[1 + rng() % list.count].move, ply);
    }
  }
}

TEST(Search, IncrementalAndFullRefreshSearchesAgreeNodeForNode) {
  EvaluationSwitches guard;
  ASSERT_TRUE(load_real_network());
  Engine.nnueEval = 1;
  ensure_veltrix();
  ForceFullRefresh = false;
  BenchResult incremental = run_bench_searches(6);
  ForceFullRefresh = true;
  BenchResult full = run_bench_searches(6);
  EXPECT_EQ(incremental.nodes, full.nodes);
  for (const Position& start : random_game_positions(3, 5)) {
    Position a = start, b = start;
    ForceFullRefresh = false;
    int scoreA = search_to_depth(a, 7);
    Move moveA = Search.pv[0];
    uint64_t nodesA = total_nodes();
    ForceFullRefresh = true;
    EXPECT_EQ(search_to_depth(b, 7), scoreA);
    EXPECT_EQ(Search.pv[0], moveA);
    EXPECT_EQ(total_nodes(), nodesA);
  }
}

TEST(Search, EverySearchOfAGameSentAgainAndAgainHasAnAgeOfItsOwn) {
  ensure_veltrix();
  Search.reportsOff = true;
  expect_each_search_of_a_game_to_age_the_table(TT, uci_command);
  Search.reportsOff = false;
}

// Every rating point up searches at least as much and errs no more; a line
// beyond the level's loss, or of a lower endgame-table rank, is never played.
TEST(LimitedPlay, LevelsStrengthenWithTheRatingAndKeepTheirErrorsSmall) {
  PlayLevel weaker = play_level(MinPlayElo);
  for (int elo = MinPlayElo + 1; elo <= MaxPlayElo; elo++) {
    const PlayLevel level = play_level(elo);
    EXPECT_GE(level.nodes, weaker.nodes) << elo;
    EXPECT_LE(level.spread, weaker.spread) << elo;
    EXPECT_LE(level.maxLoss, weaker.maxLoss) << elo;
    EXPECT_LE(level.lines, weaker.lines) << elo;
    EXPECT_GE(level.lines, 1) << elo;
    weaker = level;
  }
  RootLines lines;
  lines.count = 4;
  const int scores[4] = {50, 40, 50 - play_level(1800).maxLoss - 1, 45};
  for (int i = 0; i < 4; i++) lines.line[i].shownScore = scores[i];
  lines.line[3].tier = -1;
  for (double draw = 0; draw < 1; draw += 0.01) {
    const int chosen = choose_line(lines, play_level(1800), draw);
    EXPECT_TRUE(chosen == 0 || chosen == 1) << draw;
  }
}

}  // namespace
