#include "board/exchange.h"

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
}  // namespace

int exchange_result(const Position& pos, int to, Bitboard occupied, int side, int firstGain, int onSquare,
                    const int (&value)[7]) {
  const Bitboard diagonalSliders =
      pos.PieceBB[White][Bishop] | pos.PieceBB[Black][Bishop] | pos.PieceBB[White][Queen] | pos.PieceBB[Black][Queen];
  const Bitboard lineSliders =
      pos.PieceBB[White][Rook] | pos.PieceBB[Black][Rook] | pos.PieceBB[White][Queen] | pos.PieceBB[Black][Queen];
  Bitboard attackers = attackers_to(pos, to, occupied) & occupied;
  int gain[40];
  gain[0] = firstGain;
  int d = 0;
  while (true) {
    Bitboard fromBB = 0;
    int type = least_valuable(pos, attackers, side, fromBB);
    if (!type) break;
    // A king may only take last: onto a square still defended it cannot go.
    if (type == King && (attackers & pos.ColourBB[other(side)])) break;
    d++;
    gain[d] = onSquare - gain[d - 1];
    onSquare = value[type];
    occupied ^= fromBB;
    attackers |= (bishop_attacks(to, occupied) & diagonalSliders) | (rook_attacks(to, occupied) & lineSliders);
    attackers &= occupied;
    side = other(side);
  }
  for (; d > 0; d--)
    if (-gain[d] < gain[d - 1]) gain[d - 1] = -gain[d];
  return gain[0];
}
