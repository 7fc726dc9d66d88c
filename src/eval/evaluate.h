// The static evaluation of veltrix-classic.
#pragma once

#include "board/position.h"

namespace classic {
// The score of the position in centipawns for the side to move. With `allowLazy`
// non-zero the answer may come early, from the cheap terms alone, when it lies far
// outside the window (alpha, beta); such an answer is never cached. A dead-drawn
// ending scores 0.
int evaluate(const Position& pos, int alpha, int beta, int allowLazy);

// A table of the evaluation terms (white minus black, middlegame and endgame),
// the phase and the scale divisor, ending with the line "eval: N" where N is the
// full evaluation for the side to move, computed without the evaluation cache.
void print_eval_report(const Position& pos);
}  // namespace classic
