// Piece-square values: a file bonus plus a rank bonus per piece type, middlegame
// and endgame, laid out from the white side. Built at compile time.
#pragma once

#include "board/types.h"

namespace psq_detail {
struct Bonuses {
  int fileMg[8], rankMg[8], fileEg[8], rankEg[8];
};
constexpr Bonuses PsqBonuses[7] = {
    {},
    {{-5, 1, 2, 5, 5, 2, 1, -5}, {0, 1, 2, 5, 5, 2, 1, 0}, {-5, 1, 2, 5, 5, 2, 1, -5}, {0, 1, 2, 5, 5, 2, 1, 0}},
    {{-10, 0, 2, 5, 5, 2, 0, -10},
     {-10, -5, 0, 5, 5, 0, -5, -10},
     {-10, 0, 2, 5, 5, 2, 0, -10},
     {-10, -5, 0, 5, 5, 0, -5, -10}},
    {{-10, -5, 0, 5, 5, 0, -5, -10},
     {-10, -5, 0, 5, 5, 0, -5, -10},
     {-10, -5, 0, 5, 5, 0, -5, -10},
     {-10, -5, 0, 5, 5, 0, -5, -10}},
    {{-5, 0, 2, 5, 5, 2, 0, -5}, {0, 0, 0, 0, 0, 0, 0, 0}, {-5, 0, 2, 5, 5, 2, 0, -5}, {0, 0, 0, 0, 0, 0, 0, 0}},
    {{-5, 0, 2, 4, 4, 2, 0, -5}, {-5, 0, 2, 4, 4, 2, 0, -5}, {-5, 0, 2, 4, 4, 2, 0, -5}, {-5, 0, 2, 4, 4, 2, 0, -5}},
    {{10, 5, -20, -40, -40, -20, 5, 10},
     {10, 5, -20, -40, -40, -20, 5, 10},
     {-20, -10, 10, 20, 20, 10, -10, -20},
     {-20, -10, 10, 20, 20, 10, -10, -20}},
};

struct Table {
  ScorePair v[7][64];
};
constexpr Table build() {
  Table t{};
  for (int type = 0; type < 7; type++)
    for (int sq = 0; sq < 64; sq++) {
      const Bonuses& b = PsqBonuses[type];
      t.v[type][sq] = {int16_t(b.fileMg[file_of(sq)] + b.rankMg[rank_of(sq)]),
                       int16_t(b.fileEg[file_of(sq)] + b.rankEg[rank_of(sq)])};
    }
  return t;
}
inline constexpr Table Data = build();
}  // namespace psq_detail

// PieceSquareTable[type][square]; a black piece on s uses the entry of FlipSquare(s).
inline constexpr const ScorePair (&PieceSquareTable)[7][64] = psq_detail::Data.v;
