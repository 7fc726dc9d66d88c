// Pawn structure and king shelter, per pawn configuration, kept in the pawn cache.
#include "eval/eval_terms.h"

namespace classic {
namespace {
struct PawnPenalty {
  ScorePair closedFile;  // an enemy pawn stands ahead on the file
  ScorePair openFile;    // nothing stops the pawn's file: the weakness is easier to hit
};
constexpr PawnPenalty Doubled = {{-12, -24}, {-18, -30}};
constexpr PawnPenalty Isolated = {{-10, -20}, {-15, -30}};
constexpr PawnPenalty Backward = {{-8, -16}, {-12, -24}};
constexpr ScorePair DefendedBonus = {3, 6};

ScorePair by_file(const PawnPenalty& p, bool open) { return open ? p.openFile : p.closedFile; }

// A pawn with an open file whose advance can be supported as well as it is
// contested may become passed: a small bonus growing with its rank.
ScorePair candidate_bonus(int colour, int sq, Bitboard own, Bitboard enemy) {
  int them = other(colour);
  int supporters = popcount(own & NeighbourSpanBB[colour][sq]);
  int sentries = popcount(enemy & NeighbourSpanBB[them][sq]);
  if (sentries > supporters) return {};
  int front = sq + push_step(colour);
  if (popcount(enemy & PawnAttacks[colour][front]) > popcount(own & PawnAttacks[them][front])) return {};
  int b = PassedPawnBonus[relative_rank(colour, sq)];
  return {int16_t(b * 4 / 100), int16_t(b * 8 / 100)};
}

// The colour's structure score; fills its file masks in the entry.
ScorePair side_structure(const Position& pos, int colour, PawnCacheEntry& entry) {
  const int them = other(colour);
  const Bitboard own = pos.PieceBB[colour][Pawn], enemy = pos.PieceBB[them][Pawn];
  ScorePair score{};
  entry.pawnlessFiles[colour] = 0xFF;
  entry.passedFiles[colour] = 0;
  for (Bitboard b = own; b;) {
    int sq = pop_lsb(b), file = file_of(sq);
    entry.pawnlessFiles[colour] &= uint8_t(~(1 << file));

    bool open = !(FrontFileBB[colour][sq] & enemy);
    bool doubled = FrontFileBB[colour][sq] & own;
    bool isolated = !(AdjacentFilesBB[file] & own);
    bool blockedSpan = PassedPawnMask[colour][sq] & enemy;
    bool defended = blockedSpan && (own & PawnAttacks[them][sq]);
    bool attacksPawn = enemy & PawnAttacks[colour][sq];
    bool backward =
        !(own & NeighbourSpanBB[colour][sq]) && !attacksPawn && !doubled && !isolated && blockedSpan && !defended;
    bool candidate = open && blockedSpan && !isolated && !doubled && !backward && !attacksPawn;

    if (doubled) score += by_file(Doubled, open);
    if (isolated) score += by_file(Isolated, open);
    if (backward) score += by_file(Backward, open);
    if (defended) score += DefendedBonus;
    if (candidate) score += candidate_bonus(colour, sq, own, enemy);
    // Of two pawns on one file only the front one can run.
    if (!blockedSpan && !doubled) entry.passedFiles[colour] |= uint8_t(1 << file);
  }
  return score;
}
}  // namespace

int king_shelter(const Position& pos, int colour) {
  int king = pos.KingSq[colour], kingRank = relative_rank(colour, king);
  if (kingRank > 2) return 0;
  const Bitboard own = pos.PieceBB[colour][Pawn], enemy = pos.PieceBB[other(colour)][Pawn];
  if (!(own | enemy)) return 0;
  // The outer ranks hold no pawns, so every relative rank below is 1..6.
  const Bitboard zone = KingZoneBB[colour][king] & ~(RankBB[0] | RankBB[7]);
  int shelter = 0;
  // Own pawns close to the king shield it; enemy pawns there are storming it.
  for (Bitboard b = own & zone; b;) {
    int r = relative_rank(colour, pop_lsb(b));
    if (r >= kingRank) shelter += 32 / r;
  }
  for (Bitboard b = enemy & zone; b;) {
    int r = relative_rank(colour, pop_lsb(b));
    if (r >= kingRank) shelter += -48 / r;
  }
  return shelter;
}

PawnCacheEntry probe_pawns(const Position& pos) {
  PawnCacheEntry entry;
  if (pawn_cache_probe(pos.PawnKey, pos.ThreadSlot, entry)) return entry;
  entry.checkKey = uint32_t(pos.PawnKey >> 32);
  ScorePair black = side_structure(pos, Black, entry);
  ScorePair white = side_structure(pos, White, entry);
  entry.pawnScore = white - black;
  // The shelter belongs to the king square too; it is worked out only for a king
  // still at home and re-checked against its square by the king-safety term.
  for (int colour = Black; colour <= White; colour++) {
    int king = pos.KingSq[colour];
    bool home = relative_rank(colour, king) < 3;
    entry.shelterKingSq[colour] = uint8_t(home ? king : 0);
    entry.shelter[colour] = int16_t(home ? king_shelter(pos, colour) : NoShelter);
  }
  pawn_cache_store(pos.PawnKey, pos.ThreadSlot, entry);
  return entry;
}
}  // namespace classic
