// The hand-made evaluation of veltrix, used when the network is switched off or
// missing: material, piece squares, pawn structure, passed pawns, piece activity
// and king safety, blended by the phase. No caches: every call computes it all.
#pragma once

#include "board/position.h"

namespace veltrix {
// Start-up: the king zones.
void init_fallback_tables();

// Centipawns for the side to move.
int evaluate_fallback(const Position& pos);
}  // namespace veltrix
