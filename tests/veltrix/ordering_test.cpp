// Move ordering of veltrix: exchange values, the picker's stages, and the
// history table with its halving.
#include <set>

#include <gtest/gtest.h>

#include "veltrix/history.h"
#include "veltrix/picker.h"
#include "veltrix/see.h"
#include "veltrix_support.h"

using namespace veltrix;

namespace {

Move move_of(const Position& pos, const char* text) {
  Move m = parse_move(pos, text, Dialect::Veltrix);
  EXPECT_NE(m, 0u) << text;
  return m;
}

std::vector<Move> picked(const Position& pos, MovePicker& p) {
  std::vector<Move> out;
  while (Move m = next_move(pos, p)) out.push_back(m);
  return out;
}

TEST(See, ExchangesOnTheDestination) {
  // Pawn takes a knight defended by a pawn: +325 - 100.
  Position pos = veltrix_position("4k3/8/3p4/4n3/3P4/8/8/4K3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "d4e5")), 225);
  // Queen takes a pawn defended by a pawn: 100 - 1000.
  pos = veltrix_position("4k3/8/3p4/4p3/8/8/8/4K2Q w - -");
  EXPECT_EQ(see(pos, move_of(pos, "h1e4")), 0);  // an undefended square: nothing won
  pos = veltrix_position("4k3/8/3p4/4p3/8/8/8/Q3K3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "a1e5")), -900);
  // Rooks lined up behind the first capturers join in: with two rooks each the
  // exchange loses a rook for a pawn.
  pos = veltrix_position("3rk3/8/8/3p4/8/8/3R4/3RK3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "d2d5")), 100);
  pos = veltrix_position("3rk3/3r4/8/3p4/8/8/3R4/3RK3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "d2d5")), -400);
}

TEST(See, FirstGainsOfSpecialMoves) {
  // A king stepping onto an attacked square can never be played.
  Position pos = veltrix_position("4k3/8/8/8/8/8/3r4/4K3 w - -");
  EXPECT_EQ(see(pos, encode_move(E1, E2, WhiteKing)), SeeKingIntoAttack);
  EXPECT_EQ(see(pos, move_of(pos, "e1d2")), 500);
  // Promotion: the new piece is the gain; en passant wins a pawn.
  pos = veltrix_position("4k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(see(pos, move_of(pos, "a7a8q")), 1000);
  EXPECT_EQ(see(pos, move_of(pos, "a7a8n")), 325);
  pos = veltrix_position("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  EXPECT_EQ(see(pos, move_of(pos, "e5d6")), 100);
  pos = veltrix_position("r3k3/8/8/8/8/8/8/4K3 b q -");
  EXPECT_EQ(see(pos, move_of(pos, "e8c8")), 0);
}

TEST(Picker, StagesComeInOrder) {
  ensure_veltrix();
  history_clear();
  // Winning and losing captures, quiet moves, and a castling move.
  Position pos = veltrix_position("r3k2r/ppp2ppp/2n1b3/3qp3/4n3/2N2N2/PPPP1PPP/R1BQK2R w KQkq -");
  Move hash = move_of(pos, "d2d3");
  Move killer1 = move_of(pos, "h2h3"), killer2 = move_of(pos, "a2a3");
  MovePicker p;
  picker_start(p, hash, killer1, killer2, false);
  std::vector<Move> order = picked(pos, p);
  MoveList all = legal_moves(pos);
  ASSERT_EQ(int(order.size()), all.count);
  EXPECT_EQ(std::set<Move>(order.begin(), order.end()).size(), order.size());
  EXPECT_EQ(order[0], hash);
  // Captures by what they win, the killers, castling ahead of the other quiet
  // moves, and last the knight that would be lost for a pawn.
  EXPECT_EQ(order[1], move_of(pos, "c3d5"));
  EXPECT_EQ(order[2], move_of(pos, "c3e4"));
  EXPECT_EQ(order[3], killer1);
  EXPECT_EQ(order[4], killer2);
  EXPECT_EQ(order[5], move_of(pos, "e1g1"));
  EXPECT_EQ(order.back(), move_of(pos, "f3e5"));
}

TEST(Picker, LosingCapturesWaitForTheEnd) {
  ensure_veltrix();
  history_clear();
  // The queen can take a defended pawn (loses) or an undefended knight (wins,
  // though the queen is worth more than the knight).
  Position pos = veltrix_position("4k3/8/3p4/4p3/n7/8/8/Q3K3 w - -");
  MovePicker p;
  picker_start(p, 0, 0, 0, false);
  std::vector<Move> order = picked(pos, p);
  EXPECT_EQ(order.front(), move_of(pos, "a1a4"));
  EXPECT_EQ(order.back(), move_of(pos, "a1e5"));
  // The capture-only order of the quiescence search leaves the losing capture out.
  picker_start_captures(p, 0, false);
  order = picked(pos, p);
  ASSERT_EQ(order.size(), 1u);
  EXPECT_EQ(order[0], move_of(pos, "a1a4"));
}

TEST(Picker, EveryLegalMoveOnceInRandomPositions) {
  ensure_veltrix();
  history_clear();
  for (const Position& pos : random_game_positions(8, 3)) {
    MoveList all = legal_moves(pos);
    // A hash move and killers that may or may not be playable here.
    Move hash = all.count ? all.moves[all.count].move : 0;
    MovePicker p;
    picker_start(p, hash, 0x12345, hash, in_check(pos));
    std::vector<Move> order = picked(pos, p);
    EXPECT_EQ(int(order.size()), all.count);
    EXPECT_EQ(std::set<Move>(order.begin(), order.end()).size(), order.size());
    if (all.count) {
      EXPECT_EQ(order[0], hash);
    }
  }
}

TEST(History, GrowsOnCutoffsAndHalvesAtTheLimit) {
  ensure_veltrix();
  history_clear();
  Position pos = veltrix_position(StartFen);
  Move best = move_of(pos, "g1f3"), other1 = move_of(pos, "a2a3"), other2 = move_of(pos, "h2h3");
  Move killers[2] = {other1, 0};
  Move tried[3] = {other1, other2, best};
  record_cutoff(best, 10, tried, 3, false, killers);
  EXPECT_EQ(history_of(best), 100);
  EXPECT_EQ(history_of(other1), -100);
  EXPECT_EQ(history_of(other2), -100);
  EXPECT_EQ(killers[0], best);
  EXPECT_EQ(killers[1], other1);
  // The killer already first stays where it is; in check the killers rest.
  record_cutoff(best, 1, tried, 0, false, killers);
  EXPECT_EQ(killers[1], other1);
  record_cutoff(other2, 1, tried, 0, true, killers);
  EXPECT_EQ(killers[0], best);

  // Up to 50000 the whole table halves, every row of every piece.
  history_clear();
  SharedHistory[WhiteKnight][F3].store(49900);
  SharedHistory[BlackPawn][A6].store(-301);
  record_cutoff(best, 10, tried, 0, false, killers);
  EXPECT_EQ(history_of(best), 25000);
  EXPECT_EQ(SharedHistory[BlackPawn][A6].load(), -150);
  // And down to -50000 the same.
  history_clear();
  SharedHistory[WhitePawn][A3].store(-49950);
  SharedHistory[WhiteQueen][D4].store(77);
  Move down[1] = {other1};
  record_cutoff(best, 10, down, 1, false, killers);
  EXPECT_EQ(history_of(other1), -25025);
  EXPECT_EQ(SharedHistory[WhiteQueen][D4].load(), 38);
  EXPECT_EQ(history_of(best), 50);
}

}  // namespace
