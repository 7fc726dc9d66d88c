// Pawn structure and passed pawns of the fallback evaluation.
#include "veltrix/fallback_terms.h"

namespace veltrix {
namespace {
// A colour's pawns, read as "which own and enemy pawns stand where" around one pawn.
struct PawnView {
  int us, them;
  Bitboard own, enemy;
};

// A pawn that may become passed: the enemy pawns that could stop it are no more
// than the own pawns beside and behind it, and the square in front is covered
// at least as well as it is attacked.
bool candidate_can_pass(const PawnView& v, int sq) {
  int front = sq + push_step(v.us);
  int helpers = popcount(v.own & NeighbourSpanBB[v.us][sq]);
  int stoppers = popcount(v.enemy & NeighbourSpanBB[v.them][sq]);
  int defenders = popcount(v.own & PawnAttacks[v.them][front]);
  int attackers = popcount(v.enemy & PawnAttacks[v.us][front]);
  return helpers >= stoppers && defenders >= attackers;
}

Tally pawn_terms(const PawnView& v, PawnResult& result) {
  Tally t;
  for (Bitboard b = v.own; b;) {
    int sq = pop_lsb(b), file = file_of(sq), r = relative_rank(v.us, sq);
    result.pawnlessFiles[v.us] &= ~(1 << file);
    bool ahead = v.enemy & FrontFileBB[v.us][sq];
    bool doubled = v.own & FrontFileBB[v.us][sq];
    bool neighbours = v.own & AdjacentFilesBB[file];
    bool spanned = v.enemy & PassedPawnMask[v.us][sq];
    bool attacked = v.enemy & PawnAttacks[v.us][sq];
    bool backward = spanned && neighbours && !doubled && !attacked && !(v.own & NeighbourSpanBB[v.us][sq]);
    bool candidate = spanned && neighbours && !doubled && !backward && !ahead && !attacked && r >= 3 && r <= 5;
    bool blocked = ahead || doubled;

    if (doubled) t.add(-10, -20);
    if (!neighbours)
      blocked ? t.add(-12, -24) : t.add(-15, -30);
    else if (backward)
      blocked ? t.add(-4, -8) : t.add(-5, -10);

    if (!spanned && !doubled)
      result.passedFiles[v.us] |= 1 << file;
    else if (candidate && candidate_can_pass(v, sq))
      t.add(5 * r, 10 * r);
  }
  return t;
}

// A rook on the file behind the pawn with nothing in between: it pushes its own
// pawn or holds back the enemy's.
bool rook_behind(const Position& pos, int sq, int pawnColour, Bitboard rooks) {
  for (Bitboard b = rooks & FrontFileBB[other(pawnColour)][sq]; b;)
    if (!(BetweenBB[pop_lsb(b)][sq] & pos.occupied())) return true;
  return false;
}

Tally passed_pawn_terms(const Position& pos, int us, int passedFiles) {
  Tally t;
  int them = other(us);
  Bitboard own = pos.PieceBB[us][Pawn];
  for (int file = 0; file < 8; file++) {
    if (!(passedFiles & (1 << file))) continue;
    Bitboard onFile = own & FileBB[file];
    int sq = us == White ? msb(onFile) : lsb(onFile);
    int r = relative_rank(us, sq);
    t.add(10 * r, 20 * r);
    if (r < 4) continue;
    // Far advanced, the pawn's helpers and the race of the kings decide.
    if (file < 7 && (own & SquareBB[sq + 1]))
      t.add(4 * r, 8 * r);
    else if (own & PawnAttacks[them][sq])
      t.add(2 * r, 4 * r);
    int front = sq + push_step(us);
    if (!pos.Board[front]) t.add(0, 50);
    if (rook_behind(pos, sq, us, pos.PieceBB[us][Rook])) t.add(0, 30);
    if (rook_behind(pos, sq, us, pos.PieceBB[them][Rook])) t.add(0, -15);
    t.add(0, 5 * (4 * Distance[pos.KingSq[them]][front] - Distance[pos.KingSq[us]][front]));
  }
  return t;
}
}  // namespace

PawnResult fallback_pawn_structure(const Position& pos) {
  PawnResult result{};
  result.pawnlessFiles[White] = result.pawnlessFiles[Black] = 0xFF;
  for (int c = Black; c <= White; c++) {
    PawnView v{c, other(c), pos.PieceBB[c][Pawn], pos.PieceBB[other(c)][Pawn]};
    result.score.add(pawn_terms(v, result), c == White ? 1 : -1);
  }
  return result;
}

Tally fallback_passed_pawns(const Position& pos, const PawnResult& pawns) {
  Tally t;
  for (int c = Black; c <= White; c++) t.add(passed_pawn_terms(pos, c, pawns.passedFiles[c]), c == White ? 1 : -1);
  return t;
}
}  // namespace veltrix
