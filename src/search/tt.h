// The classic engine's transposition table: buckets of four entries that may start
// at any entry, an eight-bit search age, and no stored evaluations.
#pragma once

#include "engine/hash_table.h"
#include "search/score.h"

namespace classic {
constexpr int TableDefaultMegabytes = 256;
constexpr TableLayout ClassicTableLayout{
    .entriesPerIndex = 1,
    .ageMask = 0xFF,
    .noScore = SCORE_NONE,
    .emptyDepth = -120,  // lower than any searched depth, so every real result replaces it
    .maxMegabytes = 8192,
    .singlePrecisionFill = false,
};

extern TranspositionTable TT;

// Empties the table and the three evaluation caches: what a new game, ClearHash
// and the tools start from.
void clear_hash_tables();
// Start-up notes the sizes of the table and the caches; their memory is taken here,
// when a search or "isready" first needs it. A table that cannot be had at the size
// asked for falls back to the default size, and then to halves of it.
void allocate_tables();
}  // namespace classic
