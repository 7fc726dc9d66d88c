// The attack sets an evaluation gathers while it scores the pieces, reused by the
// king-attack and threat terms. Shared by the classic evaluation and veltrix's
// fallback evaluation, which build it the same way.
#pragma once

#include "board/position.h"

// One per evaluation, on the caller's stack.
struct AttackInfo {
  Bitboard attacksBy[2][7];  // per colour and piece type; index 0 unused
  Bitboard allAttacks[2];
  int kingAttackEnabled[2];  // a queen and at least three pieces besides pawns, king included
  int kingAttackers[2];      // pieces hitting the enemy king zone
  int kingAttackWeight[2];
};

// The pawn and king attacks and the attack switch; the pieces add theirs as they
// are scored.
inline void init_attack_info(const Position& pos, AttackInfo& info) {
  info = AttackInfo{};
  for (int colour = Black; colour <= White; colour++) {
    info.attacksBy[colour][Pawn] = pawn_attacks_set(colour, pos.PieceBB[colour][Pawn]);
    info.attacksBy[colour][King] = KingAttacks[pos.KingSq[colour]];
    info.allAttacks[colour] = info.attacksBy[colour][Pawn] | info.attacksBy[colour][King];
    // A king hunt needs the queen and enough pieces to follow her.
    int pieces = pos.ColourCount[colour] - pos.PieceCount[colour][Pawn];
    info.kingAttackEnabled[colour] = pieces >= 3 && pos.PieceCount[colour][Queen] > 0;
  }
}
