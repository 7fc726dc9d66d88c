// The classic search's end of the score scale: its "no value" and its widest
// window. A draw counts slightly against the side that was to move at the root.
#pragma once

#include "engine/score.h"

namespace classic {
// No value: an empty table slot, or a node that was not evaluated.
constexpr int SCORE_NONE = 30000;
// The widest window, and the starting best value of every node.
constexpr int SCORE_INFINITE = 32100;

// A draw (by rule, or by the tables) for the side to move: -1 when that is the side
// the engine plays at the root, +1 for its opponent, so the engine avoids draws
// that its opponent would accept.
constexpr int draw_score(bool rootSideToMove) { return rootSideToMove ? -1 : 1; }
}  // namespace classic
