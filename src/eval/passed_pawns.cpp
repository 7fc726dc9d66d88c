// Passed pawns: a bonus by rank, more for connected or defended ones, and in the
// endgame a race term from the king distances, the free path, the rule of the
// square and the rook behind the pawn.
#include "eval/eval_terms.h"

namespace classic {
namespace {
constexpr int FreePathBonus = 60;
constexpr int UnstoppableBonus = 460;
constexpr int RookBehindBonus = 40;

// The rook of either colour furthest behind the pawn on its file, as seen from the
// pawn's side, or -1.
int rearmost_rook(const Position& pos, int colour, int file) {
  Bitboard rooks = (pos.PieceBB[White][Rook] | pos.PieceBB[Black][Rook]) & FileBB[file];
  if (!rooks) return -1;
  return colour == White ? lsb(rooks) : msb(rooks);
}

// The endgame weight (percent of the rank bonus) of a pawn on its fourth rank or beyond.
int race_percent(const Position& pos, int colour, int sq, int rank) {
  const int them = other(colour);
  const int front = sq + push_step(colour);
  int x = (Distance[pos.KingSq[them]][front] * 4 - Distance[pos.KingSq[colour]][front]) * 5;

  if (!(FrontFileBB[colour][sq] & pos.occupied())) {
    // With only pawns to stop it, a pawn outside the enemy king's square runs home.
    bool bareKing = pos.ColourCount[them] - pos.PieceCount[them][Pawn] == 1;
    bool outsideSquare = !(PawnSquareBB[colour][sq] & SquareBB[pos.KingSq[them]]);
    x += bareKing && pos.SideToMove == colour && outsideSquare ? UnstoppableBonus : FreePathBonus;
  }

  int rook = rearmost_rook(pos, colour, file_of(sq));
  if (rook >= 0 && relative_rank(colour, rook) < rank && !(BetweenBB[rook][sq] & pos.occupied()))
    x += PieceColourOf[pos.Board[rook]] == colour ? RookBehindBonus : -RookBehindBonus;
  return x;
}

ScorePair side_passed_pawns(const Position& pos, int colour, const PawnCacheEntry& entry) {
  const Bitboard own = pos.PieceBB[colour][Pawn];
  const int passed = entry.passedFiles[colour];
  int mg = 0, eg = 0;
  for (int file = 0; file < 8; file++) {
    if (!(passed & (1 << file))) continue;
    Bitboard onFile = own & FileBB[file];
    if (!onFile) continue;  // an entry of a colliding pawn key: nothing to score
    int sq = colour == White ? msb(onFile) : lsb(onFile);
    int rank = relative_rank(colour, sq);
    int b = PassedPawnBonus[rank];

    if (file < 7 && (passed & (1 << (file + 1)))) {
      mg += b, eg += 2 * b;  // connected: counted once, on the lower file
    } else if (own & PawnAttacks[other(colour)][sq]) {
      mg += b * 80 / 100, eg += b * 160 / 100;
    } else {
      mg += b * 50 / 100, eg += b;
    }

    if (rank > 2) {
      int x = race_percent(pos, colour, sq, rank);
      if (x > 0) eg += b * x / 100;
    }
  }
  return {int16_t(mg), int16_t(eg)};
}
}  // namespace

ScorePair evaluate_passed_pawns(const Position& pos, const PawnCacheEntry& entry) {
  ScorePair black = side_passed_pawns(pos, Black, entry);
  ScorePair white = side_passed_pawns(pos, White, entry);
  return white - black;
}
}  // namespace classic
