// Static exchange evaluation for veltrix: the material balance of the capture
// sequence on a move's destination, each side taking with its cheapest piece.
#pragma once

#include "board/position.h"

namespace veltrix {
// Piece values of veltrix's search by piece type: none, pawn .. king.
constexpr int PieceValue[7] = {0, 100, 325, 325, 500, 1000, 0};

inline int value_of(int pieceCode) { return PieceValue[PieceTypeOf[pieceCode]]; }

// What a king move onto a square the opponent attacks is worth: it cannot be played.
constexpr int SeeKingIntoAttack = -30777;

int see(const Position& pos, Move m);
}  // namespace veltrix
