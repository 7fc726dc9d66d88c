// Every term is the same for both colours: a position and its colour-flipped
// mirror image evaluate alike, over many positions from random games.
#include <string>
#include <vector>

#include "eval_support.h"

using namespace classic;

namespace {

using SymmetryTest = EvalTest;

// The board flipped top to bottom with the colours exchanged and the other side
// to move. Castling rights and en passant do not enter the evaluation.
std::string mirrored_fen(const Position& pos) {
  static const char* const Letters = ".PNBRQKpnbrqk";
  std::string fen;
  for (int row = 7; row >= 0; row--) {
    int empty = 0;
    for (int file = 0; file < 8; file++) {
      int code = pos.Board[make_square(file, 7 - row)];
      if (!code) {
        empty++;
        continue;
      }
      if (empty) fen += char('0' + empty), empty = 0;
      fen += Letters[code <= 6 ? code + 6 : code - 6];
    }
    if (empty) fen += char('0' + empty);
    if (row) fen += '/';
  }
  return fen + (pos.SideToMove == White ? " b - -" : " w - -");
}

TEST_F(SymmetryTest, MirroredPositionsEvaluateAlike) {
  std::vector<Position> positions = random_game_positions(60, 160, 2017);
  ASSERT_GT(positions.size(), 3000u);
  for (const Position& pos : positions) {
    Position mirror = position_from(mirrored_fen(pos));
    int score = evaluate(pos, 0, 0, 0);
    ASSERT_EQ(score, evaluate(mirror, 0, 0, 0)) << mirrored_fen(pos);
    // Cached and recomputed answers agree.
    ASSERT_EQ(score, evaluate_uncached(pos)) << mirrored_fen(pos);
  }
}

TEST_F(SymmetryTest, MirroredTermsAreNegated) {
  // Term by term (white minus black), so that no two asymmetries can cancel out.
  for (const Position& pos : random_game_positions(10, 120, 960)) {
    Position mirror = position_from(mirrored_fen(pos));
    AttackInfo info, mirrorInfo;
    PawnCacheEntry pawns = probe_pawns(pos), mirrorPawns = probe_pawns(mirror);
    init_attack_info(pos, info);
    init_attack_info(mirror, mirrorInfo);
    ASSERT_EQ(evaluate_pieces(pos, info, pawns), pair(0, 0) - evaluate_pieces(mirror, mirrorInfo, mirrorPawns));
    ASSERT_EQ(evaluate_king_safety(pos, info, pawns), -evaluate_king_safety(mirror, mirrorInfo, mirrorPawns));
    ASSERT_EQ(evaluate_hanging(pos, info), pair(0, 0) - evaluate_hanging(mirror, mirrorInfo));
    ASSERT_EQ(pawns.pawnScore, pair(0, 0) - mirrorPawns.pawnScore);
    ASSERT_EQ(evaluate_passed_pawns(pos, pawns), pair(0, 0) - evaluate_passed_pawns(mirror, mirrorPawns));
    ASSERT_EQ(evaluate_patterns(pos), pair(0, 0) - evaluate_patterns(mirror));
    ASSERT_EQ(probe_material(pos).material, pair(0, 0) - probe_material(mirror).material);
  }
}

}  // namespace
