// Piece activity: attacks and mobility, threats by pawns, centre control,
// outposts, rook files, the seventh rank and the bishop's pawn colour. Gathers the
// attack sets the king-safety and hanging-piece terms read afterwards.
#include <cstdlib>

#include "eval/eval_terms.h"

namespace classic {
namespace {
// By piece type: knight, bishop, rook, queen.
constexpr int KingAttackWeight[7] = {0, 0, 20, 20, 40, 80, 0};
constexpr ScorePair PawnThreatPenalty[7] = {{}, {}, {10, 20}, {10, 20}, {20, 40}, {40, 80}, {}};
constexpr int CentreControlBonus[7] = {0, 0, 8, 8, 4, 2, 0};
constexpr ScorePair MobilityWeight[7] = {{}, {}, {16, 16}, {8, 8}, {4, 8}, {2, 4}, {}};
// Fewer safe squares than this is a penalty.
constexpr int MobilityPar = 4;

constexpr int HalfOpenFileBonus = 10;
constexpr int OpenFileBonus = 20;
constexpr int KingFileBonus = 20;
constexpr int KingNeighbourFileBonus = 10;
constexpr ScorePair RookOnSeventh = {20, 40};
constexpr ScorePair QueenOnSeventh = {10, 20};

constexpr ScorePair OwnPawnOnBishopColour = {4, 8};
constexpr ScorePair EnemyPawnOnBishopColour = {2, 4};

// The enemy king at home on its first three ranks is the target of the attack
// tally and of the rook-file bonus; elsewhere it has no zone.
struct EnemyKing {
  int sq;
  bool home;
  Bitboard zone;
};

void rook_file_terms(int colour, int sq, const AttackInfo& info, const PawnCacheEntry& entry, const EnemyKing& king,
                     Tally& t) {
  int file = file_of(sq), bit = 1 << file;
  if (!(entry.pawnlessFiles[colour] & bit)) return;
  t.add_both(entry.pawnlessFiles[other(colour)] & bit ? OpenFileBonus : HalfOpenFileBonus);
  if (!info.kingAttackEnabled[colour] || !king.home) return;
  int distance = std::abs(file - file_of(king.sq));
  if (distance == 0) t.mg += KingFileBonus;
  if (distance == 1) t.mg += KingNeighbourFileBonus;
}

// On the seventh the heavy pieces eat pawns or cut the king off on the eighth.
bool seventh_rank_target(const Position& pos, int colour, int sq, const EnemyKing& king) {
  if (relative_rank(colour, sq) != 6) return false;
  return (pos.PieceBB[other(colour)][Pawn] & RelativeRankBB[colour][6]) || relative_rank(colour, king.sq) == 7;
}

// A lone bishop wants its own pawns on the other colour and the enemy's on its own.
void bishop_colour_terms(const Position& pos, int colour, Tally& t) {
  if (pos.PieceCount[colour][Bishop] != 1) return;
  Bitboard squares = SquareColourBB[SquareColour[lsb(pos.PieceBB[colour][Bishop])]];
  t.add(OwnPawnOnBishopColour, -popcount(pos.PieceBB[colour][Pawn] & squares));
  t.add(EnemyPawnOnBishopColour, popcount(pos.PieceBB[other(colour)][Pawn] & squares));
}

ScorePair side_pieces(const Position& pos, int colour, AttackInfo& info, const PawnCacheEntry& entry) {
  const int them = other(colour);
  const Bitboard occupied = pos.occupied();
  const Bitboard enemyPawns = pos.PieceBB[them][Pawn];
  const Bitboard mobilityArea = ~(pos.ColourBB[colour] | info.attacksBy[them][Pawn]);
  EnemyKing king{pos.KingSq[them], relative_rank(them, pos.KingSq[them]) <= 2, 0};
  if (king.home) king.zone = KingZoneBB[them][king.sq];

  Tally t;
  for (int type = Knight; type <= Queen; type++) {
    for (Bitboard b = pos.PieceBB[colour][type]; b;) {
      int sq = pop_lsb(b);
      Bitboard attacks = piece_attacks(type, sq, occupied);
      info.attacksBy[colour][type] |= attacks;
      info.allAttacks[colour] |= attacks;

      if (info.kingAttackEnabled[colour] && (attacks & king.zone)) {
        info.kingAttackers[colour]++;
        info.kingAttackWeight[colour] += KingAttackWeight[type] * popcount(attacks & king.zone);
      }
      if (PawnAttacks[colour][sq] & enemyPawns) t.add(PawnThreatPenalty[type], -1);
      if (attacks & CentreBB) t.mg += CentreControlBonus[type];
      t.add(MobilityWeight[type], popcount(attacks & mobilityArea) - MobilityPar);

      if (type == Knight || type == Bishop) t.add_both(evaluate_outpost(pos, sq, colour));
      if (type == Rook) rook_file_terms(colour, sq, info, entry, king, t);
      if ((type == Rook || type == Queen) && seventh_rank_target(pos, colour, sq, king))
        t.add(type == Rook ? RookOnSeventh : QueenOnSeventh);
    }
  }
  bishop_colour_terms(pos, colour, t);
  return t.pair();
}
}  // namespace

ScorePair evaluate_pieces(const Position& pos, AttackInfo& info, const PawnCacheEntry& entry) {
  ScorePair black = side_pieces(pos, Black, info, entry);
  ScorePair white = side_pieces(pos, White, info, entry);
  return white - black;
}
}  // namespace classic
