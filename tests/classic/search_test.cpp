// Search results: mates at the depth they need, stalemate and draw scores,
// quiescence decisions, table entries without bounds, repeatable results, and the
// table's ages over a game.
#include <climits>

#include "board/movetext.h"
#include "eval/evaluate.h"
#include "search/history.h"
#include "search/score.h"
#include "search_support.h"
#include "support/game_ages.h"
#include "uci/uci.h"

using namespace classic;

namespace {

class SearchResults : public SearchTest {
 protected:
  // The search state as "go" leaves it before the first iteration, without any
  // polling, for calling the node searches directly.
  void prepare(const Position& pos, int rootSide) {
    for (SearchStack& ss : Search.stacks) clear_stack(ss);
    clear_ordering_tables();
    Signals.stop = false;
    Search.rootSide = rootSide;
    Search.rootBestMove = 0;
    Time.infinite = false;
    Time.pollCounter = 0;
    Time.pollInterval = INT_MAX;
    (void)pos;
  }
};

Move move_of(const Position& pos, const char* text) { return parse_move(pos, text); }

TEST_F(SearchResults, MatesAreFoundWithTheirExactDistance) {
  SearchResult one = search_to_depth("6k1/5ppp/8/8/8/8/8/R5K1 w - -", 1);
  EXPECT_EQ(move_text(one.best), "a1a8");
  EXPECT_EQ(one.score, SCORE_MATE - 2);

  SearchResult two = search_to_depth("7k/8/8/8/8/8/R7/1R4K1 w - -", 3);
  EXPECT_EQ(two.score, SCORE_MATE - 4);

  SearchResult three = search_to_depth("8/8/6k1/R7/8/8/8/1R4K1 w - -", 5);
  EXPECT_EQ(three.score, SCORE_MATE - 6);
  EXPECT_EQ(move_text(three.best), "b1b6");
  // A mate through a quiet move in the middle: late quiet moves of non-PV nodes
  // are pruned at low depths, so it takes a little more depth.
  SearchResult quiet = search_to_depth("3k4/8/8/8/8/8/R7/1R4K1 w - -", 7);
  EXPECT_EQ(quiet.score, SCORE_MATE - 6);

  // The side being mated sees its own mate coming.
  SearchResult mated = search_to_depth("6k1/5ppp/8/8/8/8/8/R5K1 b - -", 4);
  EXPECT_GT(mated.score, -SCORE_MATE_RANGE) << "black is not mated yet: h6 or g6 makes air";
  mated = search_to_depth("7k/R7/8/8/8/p7/8/1R4K1 b - -", 4);
  EXPECT_EQ(mated.score, -(SCORE_MATE - 3)) << "mated after white's next move";
}

TEST_F(SearchResults, NoLegalMoveAnswersWithoutSearching) {
  SearchResult stalemate = search_to_depth("7k/5Q2/6K1/8/8/8/8/8 b - -", 6);
  EXPECT_EQ(stalemate.best, 0u);
  EXPECT_EQ(stalemate.score, 0);
  SearchResult mate = search_to_depth("R5k1/5ppp/8/8/8/8/8/6K1 b - -", 6);
  EXPECT_EQ(mate.best, 0u);
  EXPECT_EQ(mate.score, -(SCORE_MATE - 1));
  SearchResult forced = search_to_depth("7k/8/8/8/8/8/8/6RK b - -", 6);
  EXPECT_EQ(move_text(forced.best), "h8h7") << "the one legal move, played at once";
  EXPECT_EQ(forced.score, 0);
  EXPECT_EQ(forced.nodes, 0u);
}

TEST_F(SearchResults, StalemateInsideTheTreeScoresZero) {
  Position pos = position_from("7k/5Q2/6K1/8/8/8/8/8 b - -");
  prepare(pos, White);
  EXPECT_EQ(search_node(pos, -100, 100, 3, 2, PvNode), 0);
  // White to move must not stalemate: it mates instead.
  SearchResult r = search_to_depth("7k/8/6K1/8/8/8/8/5Q2 w - -", 3);
  EXPECT_EQ(r.score, SCORE_MATE - 2);
}

TEST_F(SearchResults, DrawsScoreAgainstTheRootSide) {
  Position pos = position_from("4k3/8/8/8/8/8/8/2B1K3 w - -");
  prepare(pos, White);
  EXPECT_EQ(search_node(pos, -100, 100, 4, 2, PvNode), -1);
  EXPECT_EQ(quiesce(pos, -100, 100, 0, 2, true), -1);
  prepare(pos, Black);
  EXPECT_EQ(search_node(pos, -100, 100, 4, 2, PvNode), 1);
  EXPECT_EQ(quiesce(pos, -100, 100, 0, 2, false), 1);
  // Searched from the root, a dead draw counts a little against the engine.
  EXPECT_EQ(search_to_depth("4k3/8/8/8/8/8/8/2B1K3 w - -", 5).score, -1);
  EXPECT_EQ(search_to_depth("4k3/8/8/8/8/8/8/2B1K3 b - -", 5).score, -1);
}

TEST_F(SearchResults, RepetitionIsADraw) {
  Position pos = position_from("r3k3/8/8/8/8/8/8/R3K3 w - -");
  prepare(pos, White);
  // Three rounds of the same rook moves: the position stands for the third time.
  const char* round[] = {"a1b1", "a8b8", "b1a1", "b8a8"};
  for (int i = 0; i < 3; i++)
    for (const char* text : round) make_move(pos, move_of(pos, text), 1);
  ASSERT_TRUE(is_draw(pos));
  EXPECT_EQ(search_node(pos, -500, 500, 3, 2, PvNode), -1);
  prepare(pos, Black);
  EXPECT_EQ(search_node(pos, -500, 500, 3, 2, PvNode), 1);
}

TEST_F(SearchResults, QuiescenceWinsHangingMaterialButKeepsTheQueenOffDefendedPieces) {
  Position hanging = position_from("4k3/8/8/3r4/8/8/8/3QK3 w - -");
  prepare(hanging, White);
  int standPat = evaluate(hanging, -SCORE_INFINITE, SCORE_INFINITE, 0);
  EXPECT_GT(quiesce(hanging, -SCORE_INFINITE, SCORE_INFINITE, 0, 2, true), standPat + 300);

  Position defended = position_from("4k3/8/4p3/3n4/8/8/8/3QK3 w - -");
  prepare(defended, White);
  standPat = evaluate(defended, -SCORE_INFINITE, SCORE_INFINITE, 0);
  EXPECT_EQ(quiesce(defended, -SCORE_INFINITE, SCORE_INFINITE, 0, 2, true), standPat);
  HashEntry entry;
  ASSERT_TRUE(TT.probe(defended.HashKey, entry));
  EXPECT_EQ(entry.move, 0u) << "the queen took nothing";

  // Behind by more than the exchange loses: the losing capture of the defended
  // knight is passed over and is no reason to think the position holds.
  Position behind = position_from("3qk3/8/4p3/3n4/8/8/PP6/3RKB2 w - -");
  prepare(behind, White);
  EXPECT_LT(quiesce(behind, -201, -200, 0, 2, false), -200);

  // Checkmate reached inside quiescence counts from its ply, and is not stored.
  Position mated = position_from("R5k1/5ppp/8/8/8/8/8/6K1 b - -");
  prepare(mated, White);
  clear_hash_tables();
  EXPECT_EQ(quiesce(mated, -SCORE_INFINITE, SCORE_INFINITE, 0, 5, true), mated_in(5));
  EXPECT_FALSE(TT.probe(mated.HashKey, entry));
}

TEST_F(SearchResults, EntriesWithoutBoundNeverCut) {
  Position pos = position_from("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -");
  prepare(pos, White);
  TT.store(pos.HashKey, BOUND_NONE, 25000, move_of(pos, "f1b5"), 100, SCORE_NONE);
  int v = search_node(pos, 0, 1, 3, 2, AllNode);
  EXPECT_NE(v, 25000);
  EXPECT_LT(v, SCORE_DECISIVE);

  // The same entry with a lower bound cuts at once.
  TT.store(pos.HashKey, BOUND_LOWER, 25000, move_of(pos, "f1b5"), 100, SCORE_NONE);
  EXPECT_EQ(search_node(pos, 0, 1, 3, 2, AllNode), 25000);
}

TEST_F(SearchResults, SameSearchSameResult) {
  const char* fen = "r1bq1rk1/pp2ppbp/2np2p1/2n5/P3PP2/N1P2N2/1PB3PP/R1B1QRK1 b - -";
  clear_hash_tables();
  SearchResult first = search_to_depth(fen, 9);
  clear_hash_tables();
  SearchResult second = search_to_depth(fen, 9);
  EXPECT_EQ(first.best, second.best);
  EXPECT_EQ(first.score, second.score);
  EXPECT_EQ(first.nodes, second.nodes);
  EXPECT_GT(first.nodes, 1000u);
}

TEST_F(SearchResults, EverySearchOfAGameSentAgainAndAgainHasAnAgeOfItsOwn) {
  expect_each_search_of_a_game_to_age_the_table(TT, uci_command);
}

}  // namespace
