#include "search/see.h"

#include "board/exchange.h"
#include "board/movegen.h"

namespace classic {
int see(const Position& pos, Move m) {
  if (CastleType(m)) return 0;
  int from = From(m), to = To(m), us = PieceColourOf[MovedPiece(m)];
  int firstGain = CapturedPiece(m) ? see_value_of(CapturedPiece(m)) : 0;
  Bitboard occupied = pos.occupied() ^ SquareBB[from];
  bool defended = (attackers_to(pos, to, occupied) & occupied & pos.ColourBB[other(us)]) != 0;
  if (PieceTypeOf[MovedPiece(m)] == King) return defended ? SeeKingIntoAttack : firstGain;
  if (!defended) return firstGain;
  return exchange_result(pos, to, occupied, other(us), firstGain, see_value_of(MovedPiece(m)), SeeValue);
}
}  // namespace classic
