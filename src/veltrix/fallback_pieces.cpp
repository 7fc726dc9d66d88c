// Piece activity of the fallback evaluation: mobility, threats, outposts, rook
// files, the seventh rank and the bishops, gathering the attacks on the enemy
// king's zone for the king-safety term.
#include <cstdlib>

#include "veltrix/fallback_terms.h"

namespace veltrix {
namespace {
// By piece type; only knight, bishop, rook and queen are used.
constexpr ScorePair FallbackMobilityWeight[7] = {{}, {}, {8, 8}, {8, 8}, {4, 8}, {2, 4}, {}};
constexpr int FallbackPawnThreatPenalty[7] = {0, 0, 10, 10, 20, 40, 0};
constexpr ScorePair FallbackThreatBonus[7] = {{}, {}, {4, 8}, {4, 8}, {2, 4}, {1, 2}, {}};
constexpr int KingAttackWeight[7] = {0, 0, 20, 20, 40, 80, 0};
// Safe squares below this number cost, above it they earn.
constexpr int MobilityPar = 4;
// By relative rank 3, 4 and 5.
constexpr ScorePair FallbackOutpostBonus[8] = {{}, {}, {}, {5, 10}, {10, 20}, {20, 40}, {}, {}};

// What one colour's pieces look at.
struct Side {
  int us, them;
  Bitboard enemyPawns, enemyPawnAttacks, ownPawnAttacks;
  Bitboard mobilityArea;
  Bitboard enemyKingZone;
};

// A knight or bishop no enemy pawn can chase away, worth more when an own pawn
// holds it and no enemy minor piece can trade it off on its colour.
void outpost(const Position& pos, const Side& s, int sq, Tally& t) {
  int r = relative_rank(s.us, sq);
  if (r < 3 || r > 5) return;
  if ((s.enemyPawnAttacks & SquareBB[sq]) || (s.enemyPawns & NeighbourSpanBB[s.them][sq + push_step(s.us)])) return;
  ScorePair v = FallbackOutpostBonus[r];
  if (s.ownPawnAttacks & SquareBB[sq]) {
    Bitboard sameColour = SquareColourBB[SquareColour[sq]];
    bool noTrade = !((pos.PieceBB[s.them][Knight] | pos.PieceBB[s.them][Bishop]) & sameColour);
    v = noTrade ? ScorePair{int16_t(2 * v.mg), int16_t(2 * v.eg)}
                : ScorePair{int16_t(v.mg + v.mg / 2), int16_t(v.eg + v.eg / 2)};
  }
  t.add(v);
}

void rook_file(const Position& pos, const Side& s, const AttackInfo& info, const PawnResult& pawns, int sq, Tally& t) {
  int file = file_of(sq), bit = 1 << file;
  if (!(pawns.pawnlessFiles[s.us] & bit)) return;
  pawns.pawnlessFiles[s.them] & bit ? t.add(20, 40) : t.add(10, 20);
  if (!info.kingAttackEnabled[s.us]) return;
  int distance = std::abs(file - file_of(pos.KingSq[s.them]));
  if (distance == 0) t.add(40, 0);
  if (distance == 1) t.add(20, 0);
}

void seventh_rank(const Position& pos, const Side& s, int type, int sq, Tally& t) {
  if (relative_rank(s.us, sq) != 6) return;
  if (!(s.enemyPawns & RelativeRankBB[s.us][6]) && relative_rank(s.us, pos.KingSq[s.them]) != 7) return;
  type == Rook ? t.add(15, 30) : t.add(5, 10);
}

void bishops(const Position& pos, const Side& s, Tally& t) {
  Bitboard own = pos.PieceBB[s.us][Bishop];
  if (more_than_one(own)) {
    t.add(25, 50);
  } else if (own) {
    // Pawns on the bishop's colour block it, or stand where it cannot attack them.
    Bitboard colour = SquareColourBB[SquareColour[lsb(own)]];
    int n = popcount(pos.PieceBB[s.us][Pawn] & colour) + popcount(s.enemyPawns & ~colour);
    t.add(-4 * n, -8 * n);
  }
}

Tally side_pieces(const Position& pos, AttackInfo& info, const PawnResult& pawns, const Side& s) {
  Tally t;
  Bitboard occupied = pos.occupied();
  Bitboard defendedEnemies = pos.ColourBB[s.them] & s.enemyPawnAttacks;
  for (int type = Knight; type <= Queen; type++)
    for (Bitboard b = pos.PieceBB[s.us][type]; b;) {
      int sq = pop_lsb(b);
      Bitboard a = piece_attacks(type, sq, occupied);
      info.attacksBy[s.us][type] |= a;
      info.allAttacks[s.us] |= a;
      if (info.kingAttackEnabled[s.us] && (a & s.enemyKingZone)) {
        info.kingAttackers[s.us]++;
        info.kingAttackWeight[s.us] += KingAttackWeight[type];
      }
      if (s.enemyPawnAttacks & SquareBB[sq]) t.add(-FallbackPawnThreatPenalty[type], -FallbackPawnThreatPenalty[type]);
      t.add(FallbackThreatBonus[type], popcount(a & defendedEnemies));
      t.add(FallbackMobilityWeight[type], popcount(a & s.mobilityArea) - MobilityPar);
      if (type == Knight || type == Bishop) outpost(pos, s, sq, t);
      if (type == Rook) rook_file(pos, s, info, pawns, sq, t);
      if (type == Rook || type == Queen) seventh_rank(pos, s, type, sq, t);
    }
  bishops(pos, s, t);
  return t;
}

bool has_pieces(const Position& pos, int colour) {
  const int* n = pos.PieceCount[colour];
  return n[Knight] + n[Bishop] + n[Rook] + n[Queen] > 0;
}
}  // namespace

Tally fallback_pieces(const Position& pos, AttackInfo& info, const PawnResult& pawns) {
  Tally t;
  for (int c = Black; c <= White; c++) {
    if (!has_pieces(pos, c)) continue;
    int them = other(c);
    Side s{c,
           them,
           pos.PieceBB[them][Pawn],
           info.attacksBy[them][Pawn],
           info.attacksBy[c][Pawn],
           ~pos.ColourBB[c] & ~info.attacksBy[them][Pawn],
           FallbackKingZone[them][pos.KingSq[them]]};
    t.add(side_pieces(pos, info, pawns, s), c == White ? 1 : -1);
  }
  return t;
}
}  // namespace veltrix
