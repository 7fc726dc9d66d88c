// Counting the leaves of the legal move tree: the standard check of a move
// generator, and a speed measure of generation and make/unmake.
#pragma once

#include <cstdint>

#include "board/position.h"

uint64_t perft(Position& pos, int depth, int ply = 1);

// Prints "<move>: <count>" per root move in generation order, then the total,
// the time and the speed.
void perft_divide(Position& pos, int depth);
