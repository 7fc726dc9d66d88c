// The fallback evaluation of veltrix: known values, the terms worked out by hand
// for small positions, and colour symmetry over many positions.
#include <gtest/gtest.h>

#include "veltrix/fallback_terms.h"
#include "veltrix_support.h"

using namespace veltrix;

namespace {

Bitboard squares(std::initializer_list<int> list) {
  Bitboard b = 0;
  for (int sq : list) b |= SquareBB[sq];
  return b;
}

TEST(FallbackEval, StartPositionIsTheTempoForEitherSide) {
  EXPECT_EQ(evaluate_fallback(veltrix_position(StartFen)), 5);
  EXPECT_EQ(evaluate_fallback(veltrix_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -")), 5);
}

TEST(FallbackEval, BareKingsScoreTheirEndgameSquaresAndTheTempo) {
  // Phase 100: the king endgame table, e1 -12 against e5 (as e4 for black) 24, tempo 10.
  EXPECT_EQ(evaluate_fallback(veltrix_position("8/8/8/4k3/8/8/8/4K3 w - -")), -12 - 24 + 10);
  EXPECT_EQ(evaluate_fallback(veltrix_position("8/8/8/4k3/8/8/8/4K3 b - -")), -(-12 - 24 - 10));
}

TEST(FallbackEval, KingZones) {
  ensure_veltrix();
  EXPECT_EQ(FallbackKingZone[White][G1], squares({F2, G2, H2, F3, G3, H3, F4, G4, H4}));
  EXPECT_EQ(FallbackKingZone[White][G2], squares({F2, H2, F3, G3, H3, F4, G4, H4}));
  EXPECT_EQ(FallbackKingZone[White][A3], squares({B3, A4, B4}));
  EXPECT_EQ(FallbackKingZone[White][G4], 0u);
  EXPECT_EQ(FallbackKingZone[Black][G8], squares({F7, G7, H7, F6, G6, H6, F5, G5, H5}));
  EXPECT_EQ(FallbackKingZone[Black][E6], squares({D6, F6, D5, E5, F5}));
  EXPECT_EQ(FallbackKingZone[Black][E2], 0u);
}

TEST(FallbackEval, PieceSquareRowsRepeatAsTheTableSays) {
  ensure_veltrix();
  EXPECT_EQ(FallbackPsq[Pawn][D2].mg, -5);
  EXPECT_EQ(FallbackPsq[Pawn][D7].mg, -5);  // rank 7 repeats rank 2
  EXPECT_EQ(FallbackPsq[Knight][A8].eg, -25);
  EXPECT_EQ(FallbackPsq[Queen][B7].eg, 0);  // rank 7 of the queen has its own row
  EXPECT_EQ(FallbackPsq[Queen][D7].eg, 4);
  EXPECT_EQ(FallbackPsq[King][A5].mg, -99);
  EXPECT_EQ(FallbackPsq[King][E5].eg, 24);
  EXPECT_EQ(FallbackPsq[Rook][D8].mg, 6);
  EXPECT_EQ(FallbackPsq[Rook][D8].eg, 0);
}

TEST(FallbackEval, IsolatedDoubledAndBackwardPawns) {
  PawnResult r = fallback_pawn_structure(veltrix_position("4k3/8/8/8/8/8/P1P5/4K3 w - -"));
  EXPECT_EQ(r.score.mg, -30);  // two isolated pawns
  EXPECT_EQ(r.score.eg, -60);
  EXPECT_EQ(r.passedFiles[White], 0b101);
  EXPECT_EQ(r.pawnlessFiles[White], 0xFF & ~0b101);

  // e2 doubled and isolated behind e3, e3 isolated: -10 -12 -15 and -20 -24 -30.
  r = fallback_pawn_structure(veltrix_position("4k3/8/8/8/8/4P3/4P3/4K3 w - -"));
  EXPECT_EQ(r.score.mg, -37);
  EXPECT_EQ(r.score.eg, -74);
  EXPECT_EQ(r.passedFiles[White], 1 << 4);

  // c3 backward behind d4; d6 isolated with d4 in front of it.
  r = fallback_pawn_structure(veltrix_position("4k3/8/3p4/8/3P4/2P5/8/4K3 w - -"));
  EXPECT_EQ(r.score.mg, -5 + 12);
  EXPECT_EQ(r.score.eg, -10 + 24);
  EXPECT_EQ(r.passedFiles[White] | r.passedFiles[Black], 0);
}

TEST(FallbackEval, CandidatePawnNeedsTheSquareInFrontCovered) {
  // c4 is a candidate (relative rank 3), helped by b3 against d7: (15, 30); d7 is isolated.
  PawnResult r = fallback_pawn_structure(veltrix_position("4k3/3p4/8/8/2P5/1P6/8/4K3 w - -"));
  EXPECT_EQ(r.score.mg, 15 + 15);
  EXPECT_EQ(r.score.eg, 30 + 30);
  EXPECT_EQ(r.passedFiles[White], 1 << 1);
  // With d6 instead, the enemy pawn attacks c5 and nothing defends it: no bonus.
  r = fallback_pawn_structure(veltrix_position("4k3/8/3p4/8/2P5/1P6/8/4K3 w - -"));
  EXPECT_EQ(r.score.mg, 15);
}

TEST(FallbackEval, AdvancedPassedPawn) {
  // e6: (50, 100), free square in front (0, 50), rook behind it (0, 30), kings
  // 4 and 6 squares from e7: 5 * (16 - 6) = 50.
  Position pos = veltrix_position("k7/8/4P3/8/8/8/8/4R1K1 w - -");
  Tally t = fallback_passed_pawns(pos, fallback_pawn_structure(pos));
  EXPECT_EQ(t.mg, 50);
  EXPECT_EQ(t.eg, 230);
  // A piece between rook and pawn hides the rook; a blocked square in front earns nothing.
  pos = veltrix_position("k7/4n3/4P3/8/8/4B3/8/4R1K1 w - -");
  t = fallback_passed_pawns(pos, fallback_pawn_structure(pos));
  EXPECT_EQ(t.eg, 100 + 5 * (4 * 4 - 6));
  // An enemy rook behind it costs 15, and the king race may go the other way.
  pos = veltrix_position("8/8/4P3/3k4/8/8/8/K3r3 w - -");
  t = fallback_passed_pawns(pos, fallback_pawn_structure(pos));
  EXPECT_EQ(t.eg, 100 + 50 - 15 + 5 * (4 * 2 - 6));
}

TEST(FallbackEval, OneAttackerOnTheKingZoneCostsNothing) {
  // White has a queen and three pieces besides pawns: its attack on the king counts.
  auto safety = [](const char* fen, int expectedAttackers) {
    Position pos = veltrix_position(fen);
    PawnResult pawns = fallback_pawn_structure(pos);
    AttackInfo info;
    init_attack_info(pos, info);
    fallback_pieces(pos, info, pawns);
    EXPECT_EQ(info.kingAttackers[White], expectedAttackers) << fen;
    return fallback_king_safety(pos, info);
  };
  int queenAway = safety("6k1/5ppp/8/8/8/8/R7/4Q1K1 w - -", 0);
  int queenAiming = safety("6k1/5ppp/8/8/8/8/R7/2Q3K1 w - -", 1);
  EXPECT_EQ(queenAiming, queenAway);
  // A second attacker: (80 + 40) * 50% more for black to bear.
  int both = safety("6k1/5ppp/8/8/8/8/6R1/2Q3K1 w - -", 2);
  EXPECT_EQ(both, queenAway + 60);
}

TEST(FallbackEval, MirroredPositionsScoreAlike) {
  std::vector<Position> positions = random_game_positions(60, 7);
  ASSERT_GT(positions.size(), 500u);
  for (const Position& pos : positions) {
    Position other = mirrored(pos);
    EXPECT_EQ(evaluate_fallback(pos), evaluate_fallback(other));
  }
}

}  // namespace
