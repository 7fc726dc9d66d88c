// The terms of the fallback evaluation. Each returns White's value minus
// Black's, accumulated in plain ints: the 16-bit wrap of the pair is applied once,
// when the driver blends, which gives the same result as wrapping every addition.
#pragma once

#include "board/position.h"
#include "engine/attack_info.h"

namespace veltrix {
// The squares in front of a king still at home that its pawns should cover and
// that enemy pieces aim at; empty once the king has left its first three ranks.
extern Bitboard FallbackKingZone[2][64];

// By piece type, white's view; black pieces read the entry of the flipped square.
extern const ScorePair (&FallbackPsq)[7][64];

struct PawnResult {
  Tally score;
  int pawnlessFiles[2];  // bit f: the colour has no pawn on file f
  int passedFiles[2];    // bit f: the colour has a passed pawn on file f
};

PawnResult fallback_pawn_structure(const Position& pos);
Tally fallback_passed_pawns(const Position& pos, const PawnResult& pawns);
Tally fallback_pieces(const Position& pos, AttackInfo& info, const PawnResult& pawns);
// Middlegame only.
int fallback_king_safety(const Position& pos, const AttackInfo& info);
}  // namespace veltrix
