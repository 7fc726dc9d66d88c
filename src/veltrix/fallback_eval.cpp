#include "veltrix/fallback_eval.h"

#include <algorithm>

#include "veltrix/fallback_terms.h"

namespace veltrix {
namespace {
constexpr ScorePair FallbackMaterial[7] = {{}, {80, 100}, {325, 325}, {325, 325}, {500, 500}, {1000, 1000}, {}};

// 0 with all pieces on the board, 100 with none: the weight of the endgame half.
int phase(const Position& pos) {
  const auto& n = pos.PieceCount;
  int pieces = n[White][Knight] + n[Black][Knight] + n[White][Bishop] + n[Black][Bishop] +
               2 * (n[White][Rook] + n[Black][Rook]) + 4 * (n[White][Queen] + n[Black][Queen]);
  return std::min((12 + std::max(24 - pieces, 0) * 100) / 24, 100);
}

Tally material_and_squares(const Position& pos) {
  Tally t;
  for (int sq = 0; sq < 64; sq++) {
    int code = pos.Board[sq];
    if (!code) continue;
    int type = PieceTypeOf[code], white = PieceColourOf[code] == White;
    int sign = white ? 1 : -1;
    t.add(FallbackMaterial[type], sign);
    t.add(FallbackPsq[type][white ? sq : FlipSquare(sq)], sign);
  }
  return t;
}
}  // namespace

int evaluate_fallback(const Position& pos) {
  bool whiteToMove = pos.SideToMove == White;
  Tally t;
  whiteToMove ? t.add(5, 10) : t.add(-5, -10);  // the tempo of the side to move
  int p = phase(pos);
  t.add(material_and_squares(pos), 1);
  PawnResult pawns = fallback_pawn_structure(pos);
  t.add(pawns.score, 1);
  t.add(fallback_passed_pawns(pos, pawns), 1);
  AttackInfo info;
  init_attack_info(pos, info);
  t.add(fallback_pieces(pos, info, pawns), 1);
  t.mg += fallback_king_safety(pos, info);
  int mg = int16_t(t.mg), eg = int16_t(t.eg);
  int v = ((100 - p) * mg + p * eg) / 100;
  return whiteToMove ? v : -v;
}
}  // namespace veltrix
