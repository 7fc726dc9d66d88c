// Static exchange evaluation: the material balance of the capture sequence on a
// move's destination square, both sides taking with their cheapest piece first.
#pragma once

#include "board/position.h"

namespace classic {
// Ordering values by piece type: none, pawn, knight, bishop, rook, queen, king.
constexpr int SeeValue[7] = {0, 100, 325, 325, 500, 975, 0};

inline int see_value_of(int pieceCode) { return SeeValue[PieceTypeOf[pieceCode]]; }

// What a king move onto a square the opponent attacks is worth: never playable.
constexpr int SeeKingIntoAttack = -10000;

int see(const Position& pos, Move m);
}  // namespace classic
