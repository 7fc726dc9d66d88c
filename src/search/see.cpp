#include "search/see.h"

#include "board/movegen.h"

namespace {

// The cheapest of `side`'s attackers in the set, as its type; 0 when none.
int least_valuable(const Position& pos, Bitboard attackers, int side, Bitboard& from) {
  for (int type = Pawn; type <= King; type++) {
    Bitboard b = attackers & pos.PieceBB[side][type];
    if (b) {
      from = b & (0 - b);
      return type;
    }
  }
  return 0;
}

}  // namespace

int see(const Position& pos, Move m) {
  if (CastleType(m)) return 0;
  int from = From(m), to = To(m), us = PieceColourOf[MovedPiece(m)];
  int gain[40];
  gain[0] = CapturedPiece(m) ? see_value_of(CapturedPiece(m)) : 0;
  Bitboard occupied = pos.occupied() ^ SquareBB[from];
  Bitboard attackers = attackers_to(pos, to, occupied) & occupied;

  if (PieceTypeOf[MovedPiece(m)] == King)
    return attackers & pos.ColourBB[other(us)] ? SeeKingIntoAttack : gain[0];
  if (!(attackers & pos.ColourBB[other(us)])) return gain[0];

  const Bitboard diagonalSliders = pos.PieceBB[White][Bishop] | pos.PieceBB[Black][Bishop] |
                                   pos.PieceBB[White][Queen] | pos.PieceBB[Black][Queen];
  const Bitboard lineSliders = pos.PieceBB[White][Rook] | pos.PieceBB[Black][Rook] | pos.PieceBB[White][Queen] |
                               pos.PieceBB[Black][Queen];
  int onSquare = SeeValue[PieceTypeOf[MovedPiece(m)]];
  int side = other(us), d = 0;
  while (true) {
    Bitboard fromBB = 0;
    int type = least_valuable(pos, attackers, side, fromBB);
    if (!type) break;
    // A king may only take last: into a square still defended it cannot go.
    if (type == King && (attackers & pos.ColourBB[other(side)])) break;
    d++;
    gain[d] = onSquare - gain[d - 1];
    onSquare = SeeValue[type];
    occupied ^= fromBB;
    // Sliders lined up behind the piece that just took join in.
    attackers |= (bishop_attacks(to, occupied) & diagonalSliders) | (rook_attacks(to, occupied) & lineSliders);
    attackers &= occupied;
    side = other(side);
  }
  while (d > 0) {
    if (-gain[d] < gain[d - 1]) gain[d - 1] = -gain[d];
    d--;
  }
  return gain[0];
}
