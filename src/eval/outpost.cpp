// Outposts: a knight or bishop on a central advanced square that no enemy pawn
// can ever chase away.
#include "eval/eval_terms.h"

namespace classic {
namespace {
constexpr int OutpostFileBonus[8] = {0, 1, 5, 10, 10, 5, 1, 0};
constexpr int OutpostRankBonus[8] = {0, 0, 5, 10, 10, 5, 0, 0};

// No enemy minor can trade itself for the piece: no knight, and no bishop that
// can reach the square's colour.
bool no_enemy_minor_can_challenge(const Position& pos, int sq, int enemy) {
  if (pos.PieceBB[enemy][Knight]) return false;
  Bitboard bishops = pos.PieceBB[enemy][Bishop];
  if (!bishops) return true;
  return !more_than_one(bishops) && SquareColour[lsb(bishops)] != SquareColour[sq];
}
}  // namespace

int evaluate_outpost(const Position& pos, int sq, int colour) {
  const int them = other(colour);
  int seen = relative_square(colour, sq);
  int v = OutpostFileBonus[file_of(seen)] + OutpostRankBonus[rank_of(seen)];
  if (v < 1) return 0;

  const Bitboard enemyPawns = pos.PieceBB[them][Pawn];
  if (enemyPawns & PawnAttacks[colour][sq]) return 0;
  // Enemy pawns on the adjacent files further up could still advance to attack it.
  if (relative_rank(colour, sq) < 7 && (enemyPawns & NeighbourSpanBB[them][sq + push_step(colour)])) return 0;

  if (pos.PieceBB[colour][Pawn] & PawnAttacks[them][sq])
    v = no_enemy_minor_can_challenge(pos, sq, them) ? 2 * v : v + v / 2;
  return v;
}
}  // namespace classic
