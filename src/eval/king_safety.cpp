// King safety: the pawn shelter of a king at home, minus a penalty for the enemy
// pieces bearing on its zone once two or more of them join the attack.
#include <algorithm>

#include "eval/eval_terms.h"

namespace classic {
namespace {
// Percent of the attack weight that counts, by number of attackers (one alone is
// no attack).
constexpr int KingAttackPercent[9] = {0, 0, 50, 60, 80, 90, 95, 99, 100};

int side_king_safety(const Position& pos, int colour, const AttackInfo& info, const PawnCacheEntry& entry) {
  const int them = other(colour);
  const int king = pos.KingSq[colour];
  if (!info.kingAttackEnabled[them] || relative_rank(colour, king) > 2) return 0;

  // The cached shelter is valid only for the king square it was computed for.
  int shelter = entry.shelterKingSq[colour] == king && entry.shelter[colour] != NoShelter ? entry.shelter[colour]
                                                                                          : king_shelter(pos, colour);
  int attackers = info.kingAttackers[them];
  int penalty = attackers >= 2 ? info.kingAttackWeight[them] * KingAttackPercent[std::min(attackers, 8)] / 100 : 0;
  return shelter - penalty;
}
}  // namespace

int evaluate_king_safety(const Position& pos, const AttackInfo& info, const PawnCacheEntry& entry) {
  return side_king_safety(pos, White, info, entry) - side_king_safety(pos, Black, info, entry);
}
}  // namespace classic
