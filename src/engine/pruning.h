// Position facts that the pruning rules of both searches ask about.
#pragma once

#include "board/bitboard.h"
#include "board/position.h"

// Knights, bishops, rooks or queens: without them zugzwang is common and passing
// proves nothing.
inline bool has_non_pawn_material(const Position& pos, int side) {
  const int* n = pos.PieceCount[side];
  return n[Knight] + n[Bishop] + n[Rook] + n[Queen] > 0;
}

// A pawn about to promote: a shallow search must not count the side out.
inline bool has_pawn_on_seventh(const Position& pos, int side) {
  return (pos.PieceBB[side][Pawn] & RelativeRankBB[side][6]) != 0;
}

// A pawn advancing to `fromRank` (0-based, from the mover's side) or beyond with
// no enemy pawn ahead of it on its own or the neighbouring files: such a move may
// be decisive however quiet it looks. The engines draw the line at different ranks.
inline bool is_free_pawn_advance(const Position& pos, Move m, int fromRank) {
  if (PieceTypeOf[MovedPiece(m)] != Pawn) return false;
  int us = pos.SideToMove, to = To(m);
  return relative_rank(us, to) >= fromRank && !(PassedPawnMask[us][to] & pos.PieceBB[other(us)][Pawn]);
}
