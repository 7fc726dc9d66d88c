// The swap sequence of a static exchange evaluation, shared by both searches (they
// differ in piece values and in how the first capture is counted).
#pragma once

#include "board/position.h"

// The exchange on `to` after a first capture that won `firstGain` and left a piece
// worth `onSquare` there, `side` to recapture, with `occupied` the board after that
// capture. The sides alternate taking with their least valuable attacker; sliders
// uncovered behind a piece that took join in; a king takes only when nothing
// defends the square any more. Either side may stop when going on would cost it.
// Answers the result for the side that made the first capture.
int exchange_result(const Position& pos, int to, Bitboard occupied, int side, int firstGain, int onSquare,
                    const int (&value)[7]);
