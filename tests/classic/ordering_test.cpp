// Move ordering: static exchange values, the staged picker, the history,
// killer and counter-move updates, and the constant reduction tables.
#include <set>
#include <vector>

#include "board/movetext.h"
#include "search/history.h"
#include "search/see.h"
#include "search_support.h"

using namespace classic;

namespace {

using Ordering = SearchTest;

Move move_of(const Position& pos, const char* text) {
  Move m = parse_move(pos, text);
  EXPECT_NE(m, 0u) << text;
  return m;
}

std::vector<Move> drain(const Position& pos, MovePicker& p, Move hash, Move k1 = 0, Move k2 = 0, Move c1 = 0,
                        Move c2 = 0) {
  std::vector<Move> out;
  while (Move m = next_move(pos, p, hash, k1, k2, c1, c2)) out.push_back(m);
  return out;
}

int index_of(const std::vector<Move>& v, Move m) {
  for (size_t i = 0; i < v.size(); i++)
    if (v[i] == m) return int(i);
  return -1;
}

// Every legal move exactly once, nothing else.
void expect_each_legal_move_once(const Position& pos, const std::vector<Move>& handed) {
  MoveList legal = legal_moves(pos);
  std::set<Move> seen(handed.begin(), handed.end());
  EXPECT_EQ(seen.size(), handed.size()) << "a move was handed out twice";
  EXPECT_EQ(int(handed.size()), legal.count);
  for (int i = 1; i <= legal.count; i++) EXPECT_TRUE(seen.count(legal.moves[i].move)) << move_text(legal.moves[i].move);
}

TEST_F(Ordering, ExchangeValues) {
  Position pos = position_from("4k3/8/4p3/3q4/4P3/8/8/4K3 w - -");
  Move pxq = move_of(pos, "e4d5");
  EXPECT_EQ(see(pos, pxq), 875);
  EXPECT_EQ(capture_score(pos, pxq), 700875);

  pos = position_from("4k3/8/2p5/3p4/8/8/8/3QK3 w - -");
  Move qxp = move_of(pos, "d1d5");
  EXPECT_EQ(see(pos, qxp), -875);
  EXPECT_EQ(capture_score(pos, qxp), -875 - 700000);

  // The second rook behind the first joins the exchange.
  pos = position_from("3rk3/8/8/3p4/8/8/3R4/3RK3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "d2d5")), 100);
  pos = position_from("3rk3/8/8/3p4/8/8/8/3RK3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "d1d5")), -400);

  // The king may not take back on a square the queen behind the rook still guards.
  pos = position_from("8/8/3k4/3p4/8/3R4/8/3QK3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "d3d5")), 100);

  pos = position_from("4k3/8/8/8/8/8/3r4/4K3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "e1d2")), 500) << "the rook is undefended";
  // A king stepping into an attack is never worth anything (such a move is only
  // ever met as a word from the table or a killer slot).
  pos = position_from("4k3/8/8/8/8/5r2/8/4K3 w - -");
  EXPECT_EQ(see(pos, encode_move(E1, F1, WhiteKing)), SeeKingIntoAttack);

  // A quiet move onto a square a pawn guards loses the piece.
  pos = position_from("4k3/8/4p3/8/8/2N5/8/4K3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "c3d5")), -325);
  EXPECT_EQ(see(pos, move_of(pos, "c3e4")), 0);
  pos = position_from("4k3/8/8/8/8/8/8/4K2R w K -");
  EXPECT_EQ(see(pos, move_of(pos, "e1g1")), 0) << "castling";
}

TEST_F(Ordering, HashMoveComesFirstAndNeverAgain) {
  Position pos = position_from("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -");
  Move hash = move_of(pos, "f1b5");
  MovePicker p;
  picker_start(p, MainHash);
  std::vector<Move> handed = drain(pos, p, hash);
  ASSERT_FALSE(handed.empty());
  EXPECT_EQ(handed[0], hash);
  expect_each_legal_move_once(pos, handed);

  // A capture as hash move is not handed out again among the captures.
  Move capture = move_of(pos, "f3e5");
  picker_start(p, MainHash);
  handed = drain(pos, p, capture);
  EXPECT_EQ(handed[0], capture);
  expect_each_legal_move_once(pos, handed);
}

TEST_F(Ordering, UnplayableTableMovesAreSkippedSilently) {
  Position pos = position_from(StartFen);
  Position other = position_from("4k3/8/8/8/8/8/3Q4/4K3 w - -");
  Move foreign = move_of(other, "d2d7");
  MovePicker p;
  picker_start(p, MainHash);
  std::vector<Move> handed = drain(pos, p, foreign, foreign, 0, foreign, 0);
  EXPECT_EQ(index_of(handed, foreign), -1);
  expect_each_legal_move_once(pos, handed);
}

TEST_F(Ordering, StagesRunGoodCapturesKillersCountersQuietsThenLosingCaptures) {
  // The pawn on d5 is guarded by the pawn on c6: taking it with the queen loses.
  Position pos = position_from("4k3/8/2p5/3p4/8/3Q4/5B2/4K1N1 w - -");
  Move qxd5 = move_of(pos, "d3d5");
  Move killer1 = move_of(pos, "g1f3"), killer2 = move_of(pos, "f2c5"), counter = move_of(pos, "g1h3");
  // The queen move to d5 remembered from a position where d5 was empty.
  Move staleKiller = move_of(position_from("4k3/8/2p5/8/8/3Q4/5B2/4K1N1 w - -"), "d3d5");

  MovePicker p;
  picker_start(p, MainHash);
  std::vector<Move> handed = drain(pos, p, 0, killer1, killer2, counter, 0);
  expect_each_legal_move_once(pos, handed);
  ASSERT_GE(handed.size(), 4u);
  EXPECT_EQ(handed[0], killer1);
  EXPECT_EQ(handed[1], killer2);
  EXPECT_EQ(handed[2], counter);
  EXPECT_EQ(handed.back(), qxd5) << "a losing capture comes after every quiet move";

  picker_start(p, MainHash);
  handed = drain(pos, p, 0, staleKiller, 0);
  EXPECT_EQ(index_of(handed, staleKiller), -1);
  EXPECT_EQ(handed.back(), qxd5);
  expect_each_legal_move_once(pos, handed);
}

TEST_F(Ordering, WinningCapturesComeFirstBestFirst) {
  Position pos = position_from("4k3/8/8/2q1r3/3P4/8/8/K7 w - -");
  Move pxq = move_of(pos, "d4c5"), pxr = move_of(pos, "d4e5");
  MovePicker p;
  picker_start(p, MainHash);
  std::vector<Move> handed = drain(pos, p, 0);
  ASSERT_GE(handed.size(), 2u);
  EXPECT_EQ(handed[0], pxq);
  EXPECT_EQ(handed[1], pxr);
}

TEST_F(Ordering, EvasionsCaptureTheCheckerFirstThenQuietMovesByHistory) {
  clear_ordering_tables();
  // The rook checks from e4: the bishop can block, or the king steps aside.
  Position pos = position_from("4k3/8/8/8/4r3/8/3B4/4K3 w - -");
  ASSERT_TRUE(in_check(pos));
  Move kf2 = move_of(pos, "e1f2"), kd1 = move_of(pos, "e1d1"), block = move_of(pos, "d2e3");
  History[0][MovedPiece(kf2)][To(kf2)] = 50;
  History[0][MovedPiece(kd1)][To(kd1)] = -50;
  MovePicker p;
  picker_start(p, EvasionHash);
  std::vector<Move> handed = drain(pos, p, 0);
  expect_each_legal_move_once(pos, handed);
  ASSERT_GE(handed.size(), 3u);
  EXPECT_EQ(handed[0], kf2);
  EXPECT_EQ(handed.back(), kd1);
  EXPECT_LT(index_of(handed, block), index_of(handed, kd1));

  pos = position_from("4k3/8/8/8/8/8/3q4/R3K1N1 w Q -");
  ASSERT_TRUE(in_check(pos));
  Move kxq = move_of(pos, "e1d2"), kf1 = move_of(pos, "e1f1");
  picker_start(p, EvasionHash);
  handed = drain(pos, p, 0);
  expect_each_legal_move_once(pos, handed);
  EXPECT_EQ(handed[0], kxq);

  picker_start(p, CaptureEvasionHash);
  std::vector<Move> quiescent;
  while (Move m = next_capture(pos, p, kf1)) quiescent.push_back(m);
  EXPECT_EQ(quiescent[0], kf1) << "the hash move first, also in quiescence";
  expect_each_legal_move_once(pos, quiescent);
}

TEST_F(Ordering, QuiescenceCapturesIgnoreAQuietHashMove) {
  Position pos = position_from("4k3/8/8/3p4/8/8/8/3QK3 w - -");
  Move quiet = move_of(pos, "d1d2"), qxd5 = move_of(pos, "d1d5");
  MovePicker p;
  picker_start(p, CaptureHash);
  std::vector<Move> handed;
  while (Move m = next_capture(pos, p, quiet)) handed.push_back(m);
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0], qxd5);
}

TEST_F(Ordering, HistoryHalvesTheThreadTableAtTheLimit) {
  clear_ordering_tables();
  Position pos = position_from(StartFen);
  Move best = move_of(pos, "g1f3"), tried = move_of(pos, "a2a3"), other = move_of(pos, "b2b3");
  History[0][MovedPiece(best)][To(best)] = 4990;
  History[0][MovedPiece(other)][To(other)] = -101;
  History[1][MovedPiece(other)][To(other)] = 77;
  Move quiets[] = {tried, best};
  update_history(0, best, 4, quiets, 2);
  EXPECT_EQ(History[0][MovedPiece(best)][To(best)], 2503);
  EXPECT_EQ(History[0][MovedPiece(other)][To(other)], -50) << "halving truncates toward zero";
  EXPECT_EQ(History[0][MovedPiece(tried)][To(tried)], -16) << "penalised after the halving";
  EXPECT_EQ(History[1][MovedPiece(other)][To(other)], 77) << "other threads keep their tables";
}

TEST_F(Ordering, KillersShiftAndCountersChangeOnlyForTheHashMove) {
  clear_ordering_tables();
  SearchStack& ss = Search.stacks[0];
  clear_stack(ss);
  Position pos = position_from(StartFen);
  Move prev = move_of(pos, "e2e4");
  Move a = move_of(pos, "g1f3"), b = move_of(pos, "b1c3");
  const int piece = MovedPiece(prev), to = To(prev);

  update_killers_and_counters(0, ss, prev, 0, a, 5);
  EXPECT_EQ(ss.killers[5][0], a);
  EXPECT_EQ(CounterMove1[0][piece][to], 0u) << "a new killer is no counter move";
  update_killers_and_counters(0, ss, prev, 0, b, 5);
  EXPECT_EQ(ss.killers[5][0], b);
  EXPECT_EQ(ss.killers[5][1], a);

  Move c = move_of(pos, "d2d4");
  update_killers_and_counters(0, ss, prev, c, c, 5);  // the hash move refuted
  EXPECT_EQ(ss.killers[5][0], b);
  EXPECT_EQ(CounterMove1[0][piece][to], c);
  Move d = move_of(pos, "c2c4");
  update_killers_and_counters(0, ss, prev, d, d, 5);
  EXPECT_EQ(CounterMove1[0][piece][to], d);
  EXPECT_EQ(CounterMove2[0][piece][to], c);
}

TEST_F(Ordering, StableSortKeepsGenerationOrderOfEqualScores) {
  MoveList list;
  const int scores[] = {5, 9, 5, 9, 1, 5};
  list.count = 6;
  for (int i = 1; i <= 6; i++) list.moves[i] = {Move(i), scores[i - 1]};
  sort_moves(list, 1, 6);
  const Move expected[] = {2, 4, 1, 3, 6, 5};
  for (int i = 1; i <= 6; i++) EXPECT_EQ(list.moves[i].move, expected[i - 1]);

  mark_best_root_move(list, 3);
  EXPECT_EQ(list.moves[1].move, 3u);
  EXPECT_EQ(list.moves[1].score, 1000000);
}

TEST_F(Ordering, RootScoresRankPromotionsAndCapturesAboveQuietMoves) {
  Position pos = position_from("r3k3/1P6/8/8/8/8/8/4K2R w K -");
  MoveList list = legal_moves(pos);
  score_root_moves(pos, list);
  Move queening = move_of(pos, "b7a8q");
  EXPECT_EQ(list.moves[1].move, queening);
  EXPECT_EQ(list.moves[1].score, 700000 + 975 + 500);
  for (int i = 2; i <= list.count; i++) EXPECT_LE(list.moves[i].score, list.moves[i - 1].score);
  EXPECT_EQ(root_score(pos, move_of(pos, "h1h8")), 0);
  EXPECT_EQ(root_score(pos, move_of(pos, "h1f1")), 0);
}

TEST_F(Ordering, ReductionAndPruningTables) {
  EXPECT_EQ(LmrReduction[0][10][20], 3);
  EXPECT_EQ(LmrReduction[1][10][20], 2);
  EXPECT_EQ(LmrReduction[0][2][30], 0);
  EXPECT_EQ(LmrReduction[1][63][1], 0);
  const int notImproving[16] = {3, 3, 5, 8, 12, 17, 23, 29, 36, 44, 53, 62, 73, 83, 95, 107};
  const int improving[16] = {3, 4, 6, 10, 15, 21, 28, 36, 45, 55, 66, 77, 90, 104, 118, 133};
  for (int d = 0; d < 16; d++) {
    EXPECT_EQ(LateMoveCount[0][d], notImproving[d]) << d;
    EXPECT_EQ(LateMoveCount[1][d], improving[d]) << d;
  }
  EXPECT_EQ(RazorMargin[3], 260);
  EXPECT_EQ(StaticNullMargin[6], 360);
  EXPECT_EQ(FutilityMargin[6], 480);
}

}  // namespace
