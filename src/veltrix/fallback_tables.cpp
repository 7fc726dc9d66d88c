#include "veltrix/fallback_eval.h"
#include "veltrix/fallback_terms.h"

namespace veltrix {
Bitboard FallbackKingZone[2][64];

namespace {
using Row = int[8];

// Rows from rank 1 to rank 8, files a to h, white's view.
struct PsqRows {
  Row mg[8];
  Row eg[8];
};

// clang-format off
constexpr Row Zero = {0, 0, 0, 0, 0, 0, 0, 0};
constexpr Row PawnMg[4] = {{0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, -5, -5, 0, 0, 0},
                           {-5, 0, 0, 5, 5, 0, 0, -5}, {-5, 0, 5, 10, 10, 5, 0, -5}};
constexpr Row Knight4[4] = {{-25, -20, -15, -10, -10, -15, -20, -25}, {-20, -10, -5, 0, 0, -5, -10, -20},
                            {-10, -5, 0, 5, 5, 0, -5, -10}, {-5, 0, 5, 10, 10, 5, 0, -5}};
constexpr Row Bishop4[4] = {{-12, -10, -9, -6, -6, -9, -10, -12}, {-8, 3, -3, 0, 0, -3, 3, -8},
                            {-6, -3, 0, 3, 3, 0, -3, -6}, {-3, 0, 6, 8, 8, 6, 0, -3}};
constexpr Row RookMg = {-3, 0, 3, 6, 6, 3, 0, -3};
constexpr Row QueenEg[8] = {{-10, -8, -6, 0, 0, -6, -8, -10}, {-8, 0, 3, 5, 5, 3, 0, -8},
                            {-6, 3, 4, 5, 5, 4, 3, -6},      {-3, 4, 5, 6, 6, 5, 4, -3},
                            {-3, 4, 5, 6, 6, 5, 4, -3},      {-6, 3, 4, 5, 5, 4, 3, -6},
                            {-8, 0, 3, 4, 4, 3, 0, -8},      {-10, -8, -6, 0, 0, -6, -8, -10}};
constexpr Row KingMg[8] = {{30, 30, 10, 0, 0, 10, 30, 30},          {20, 10, -10, -20, -20, -10, 10, 20},
                           {10, -10, -20, -30, -30, -20, -10, 10},  {-99, -99, -99, -99, -99, -99, -99, -99},
                           {-99, -99, -99, -99, -99, -99, -99, -99}, {-99, -99, -99, -99, -99, -99, -99, -99},
                           {-99, -99, -99, -99, -99, -99, -99, -99}, {-99, -99, -99, -99, -99, -99, -99, -99}};
constexpr Row KingEg4[4] = {{-48, -24, -18, -12, -12, -18, -24, -48}, {-24, -12, -6, 0, 0, -6, -12, -24},
                            {-12, -6, 0, 12, 12, 0, -6, -12}, {-6, 0, 12, 24, 24, 12, 0, -6}};
// clang-format on

constexpr void copy_row(Row& to, const Row& from) {
  for (int f = 0; f < 8; f++) to[f] = from[f];
}

// Ranks 5 to 8 repeat ranks 4 to 1: the board's two halves alike.
constexpr void mirror_half(Row (&rows)[8], const Row (&half)[4]) {
  for (int r = 0; r < 4; r++) {
    copy_row(rows[r], half[r]);
    copy_row(rows[7 - r], half[r]);
  }
}

constexpr void fill(Row (&rows)[8], const Row& row) {
  for (Row& r : rows) copy_row(r, row);
}

struct PsqTable {
  ScorePair v[7][64];
};

constexpr PsqTable build_psq() {
  PsqRows rows[7] = {};
  mirror_half(rows[Pawn].mg, PawnMg);
  fill(rows[Pawn].eg, Zero);
  mirror_half(rows[Knight].mg, Knight4);
  mirror_half(rows[Knight].eg, Knight4);
  mirror_half(rows[Bishop].mg, Bishop4);
  mirror_half(rows[Bishop].eg, Bishop4);
  fill(rows[Rook].mg, RookMg);
  for (int r = 0; r < 8; r++) copy_row(rows[Queen].eg[r], QueenEg[r]);
  for (int r = 0; r < 8; r++) copy_row(rows[King].mg[r], KingMg[r]);
  mirror_half(rows[King].eg, KingEg4);
  PsqTable t{};
  for (int type = Pawn; type <= King; type++)
    for (int sq = 0; sq < 64; sq++)
      t.v[type][sq] = {int16_t(rows[type].mg[rank_of(sq)][file_of(sq)]),
                       int16_t(rows[type].eg[rank_of(sq)][file_of(sq)])};
  return t;
}

constexpr PsqTable PsqData = build_psq();

// The zone of a king on the colour's relative rank 0, 1 or 2: the three squares
// in front of it, with the squares beside it unless it stands on its first rank,
// repeated forward up to the colour's fourth rank.
Bitboard home_zone(int colour, int sq) {
  int kingRank = relative_rank(colour, sq), file = file_of(sq);
  if (kingRank > 2) return 0;
  Bitboard zone = 0;
  auto add = [&](int f, int relRank) {
    if (f >= 0 && f <= 7) zone |= SquareBB[make_square(f, colour == White ? relRank : 7 - relRank)];
  };
  for (int shift = 0; kingRank + shift <= 2; shift++)
    for (int df = -1; df <= 1; df++) {
      add(file + df, kingRank + 1 + shift);
      if (kingRank > 0 && df != 0) add(file + df, kingRank + shift);
    }
  return zone;
}
}  // namespace

const ScorePair (&FallbackPsq)[7][64] = PsqData.v;

void init_fallback_tables() {
  for (int c = Black; c <= White; c++)
    for (int sq = 0; sq < 64; sq++) FallbackKingZone[c][sq] = home_zone(c, sq);
}
}  // namespace veltrix
