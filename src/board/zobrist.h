// Zobrist keys: the published Polyglot Random64 table, taken in its own order but
// indexed by this program's piece codes and squares: ZobristPiece[code][square] is
// Random64[(code - 1) * 64 + square]. Castling rights and en passant are not hashed.
#pragma once

#include "board/types.h"

extern const Key ZobristPiece[13][64];  // code 0 (empty) is all zero
extern const Key ZobristSide[2];        // Random64[768] for Black, Random64[769] for White
