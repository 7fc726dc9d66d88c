#include "veltrix/see.h"

#include "board/exchange.h"
#include "board/movegen.h"

namespace veltrix {
namespace {
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
  int firstGain = first_gain(m);
  Bitboard occupied = pos.occupied() ^ SquareBB[from];
  if (EpCapture(m)) occupied ^= SquareBB[us == White ? to - 8 : to + 8];
  bool defended = (attackers_to(pos, to, occupied) & occupied & pos.ColourBB[other(us)]) != 0;
  if (PieceTypeOf[MovedPiece(m)] == King) return defended ? SeeKingIntoAttack : firstGain;
  if (!defended) return firstGain;
  int onSquare = PromotionPiece(m) ? value_of(PromotionPiece(m)) : value_of(MovedPiece(m));
  return exchange_result(pos, to, occupied, other(us), firstGain, onSquare, PieceValue);
}
}  // namespace veltrix
