#include "veltrix/see.h"

#include "board/movegen.h"

namespace {

// The cheapest of `side`'s pieces in the set, as its type (0 when none), and its square.
int least_valuable(const Position& pos, Bitboard attackers, int side, Bitboard& from) {
  for (int type = Pawn; type <= King; type++)
    if (Bitboard b = attackers & pos.PieceBB[side][type]) {
      from = b & (0 - b);
      return type;
    }
  return 0;
}

// What the move wins before any recapture: the promoted piece, the pawn taken en
// passant, or the captured piece.
int first_gain(Move m) {
  if (int promoted = PromotionPiece(m)) return value_of(promoted);
  if (EpCapture(m)) return PieceValue[Pawn];
  return value_of(CapturedPiece(m));
}

}  // namespace

int see(const Position& pos, Move m) {
  if (CastleType(m)) return 0;
  int from = From(m), to = To(m), us = PieceColourOf[MovedPiece(m)];
  int gain[40];
  gain[0] = first_gain(m);
  Bitboard occupied = pos.occupied() ^ SquareBB[from];
  if (EpCapture(m)) occupied ^= SquareBB[us == White ? to - 8 : to + 8];
  Bitboard attackers = attackers_to(pos, to, occupied) & occupied;
  bool defended = (attackers & pos.ColourBB[other(us)]) != 0;
  if (PieceTypeOf[MovedPiece(m)] == King) return defended ? SeeKingIntoAttack : gain[0];
  if (!defended) return gain[0];

  const Bitboard diagonalSliders = pos.PieceBB[White][Bishop] | pos.PieceBB[Black][Bishop] |
                                   pos.PieceBB[White][Queen] | pos.PieceBB[Black][Queen];
  const Bitboard lineSliders = pos.PieceBB[White][Rook] | pos.PieceBB[Black][Rook] | pos.PieceBB[White][Queen] |
                               pos.PieceBB[Black][Queen];
  int onSquare = PromotionPiece(m) ? value_of(PromotionPiece(m)) : value_of(MovedPiece(m));
  int side = other(us), d = 0;
  while (true) {
    Bitboard fromBB = 0;
    int type = least_valuable(pos, attackers, side, fromBB);
    if (!type) break;
    // A king may only take last: onto a square still defended it cannot go.
    if (type == King && (attackers & pos.ColourBB[other(side)])) break;
    d++;
    gain[d] = onSquare - gain[d - 1];
    onSquare = PieceValue[type];
    occupied ^= fromBB;
    // Sliders lined up behind the piece that just took join in.
    attackers |= (bishop_attacks(to, occupied) & diagonalSliders) | (rook_attacks(to, occupied) & lineSliders);
    attackers &= occupied;
    side = other(side);
  }
  // Either side may stop taking when going on would cost it.
  for (; d > 0; d--)
    if (-gain[d] < gain[d - 1]) gain[d - 1] = -gain[d];
  return gain[0];
}
