// Hanging pieces: enemy pieces under attack that nothing defends.
#include "eval/eval_terms.h"

namespace classic {
namespace {
// By piece type: pawn, knight, bishop, rook, queen.
constexpr ScorePair HangingBonus[6] = {{}, {2, 4}, {4, 8}, {4, 8}, {8, 16}, {16, 32}};

ScorePair side_hanging(const Position& pos, int colour, const AttackInfo& info) {
  const int them = other(colour);
  // Pieces our pawns attack are priced by the pawn-threat term instead.
  Bitboard targets = pos.ColourBB[them] & ~pos.PieceBB[them][King] & info.allAttacks[colour] & ~info.allAttacks[them] &
                     ~info.attacksBy[colour][Pawn];
  ScorePair score{};
  for (int type = Pawn; type <= Queen; type++) {
    int n = popcount(targets & pos.PieceBB[them][type]);
    score += ScorePair{int16_t(HangingBonus[type].mg * n), int16_t(HangingBonus[type].eg * n)};
  }
  return score;
}
}  // namespace

ScorePair evaluate_hanging(const Position& pos, const AttackInfo& info) {
  return side_hanging(pos, White, info) - side_hanging(pos, Black, info);
}
}  // namespace classic
