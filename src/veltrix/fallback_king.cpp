// King safety of the fallback evaluation (middlegame only): the pawn shelter in
// front of a king at home, the holes in it, and the weight of the enemy pieces
// aiming at its zone.
#include "veltrix/fallback_terms.h"

namespace veltrix {
namespace {
// By the number of attacking pieces: one attacker alone is no attack.
constexpr int FallbackKingAttackPercent[9] = {0, 0, 50, 60, 70, 80, 90, 95, 100};

// The pawn of the set nearest to the colour's first rank, or -1.
int nearest_to_home(int colour, Bitboard pawns) {
  if (!pawns) return -1;
  return colour == White ? lsb(pawns) : msb(pawns);
}

int shelter(const Position& pos, int us, Bitboard zone) {
  int v = 0, ksq = pos.KingSq[us], kingRank = relative_rank(us, ksq);
  for (int file = file_of(ksq) - 1; file <= file_of(ksq) + 1; file++) {
    if (file < 0 || file > 7) continue;
    int own = nearest_to_home(us, pos.PieceBB[us][Pawn] & zone & FileBB[file]);
    if (own >= 0) {
      int d = relative_rank(us, own) - kingRank;
      if (d >= 0 && d <= 2) v += 32;
    }
    int enemy = nearest_to_home(us, pos.PieceBB[other(us)][Pawn] & zone & FileBB[file]);
    if (enemy >= 0 && relative_rank(us, enemy) - kingRank < 3) v -= 48;
  }
  return v;
}

int king_safety_of(const Position& pos, const AttackInfo& info, int us) {
  int them = other(us);
  Bitboard zone = FallbackKingZone[us][pos.KingSq[us]];
  int v = shelter(pos, us, zone);
  Bitboard holes = zone & (RelativeRankBB[us][2] | RelativeRankBB[us][3]) & ~info.attacksBy[us][Pawn];
  v -= 10 * popcount(holes);
  int n = info.kingAttackers[them];
  if (n >= 2) v -= info.kingAttackWeight[them] * FallbackKingAttackPercent[n < 8 ? n : 8] / 100;
  return v;
}
}  // namespace

int fallback_king_safety(const Position& pos, const AttackInfo& info) {
  int v = 0;
  for (int c = Black; c <= White; c++)
    if (info.kingAttackEnabled[other(c)]) v += (c == White ? 1 : -1) * king_safety_of(pos, info, c);
  return v;
}
}  // namespace veltrix
