// veltrix's end of the score scale: its "no value" and its widest window. A draw
// scores 0.
#pragma once

#include "engine/score.h"

namespace veltrix {
// No value: an empty table slot, or a static evaluation that was not made.
constexpr int SCORE_NONE = 30777;
// The widest window, and the starting best value of every node.
constexpr int SCORE_INFINITE = 32700;
}  // namespace veltrix
