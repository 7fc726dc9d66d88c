// The transposition table of veltrix: aligned clusters of four entries, one cache
// line each, a sixteen-bit search age, and the static evaluation kept beside the
// search result, so that a position met again needs no evaluation.
#pragma once

#include "engine/hash_table.h"
#include "veltrix/score.h"

namespace veltrix {
constexpr int TableDefaultMegabytes = 256;
constexpr TableLayout VeltrixTableLayout{
    .entriesPerIndex = 4,
    .ageMask = 0xFFFF,
    .noScore = SCORE_NONE,
    .emptyDepth = -100,  // lower than any searched depth, so every real result replaces it
    .maxMegabytes = 32768,
    .singlePrecisionFill = true,
};

extern TranspositionTable TT;

// Start-up only notes the table's size: its memory is taken here, when "isready"
// or the first search needs it, so that "uci" is answered at once.
void allocate_table();
}  // namespace veltrix
