// The opening book and the learning file as the root search uses them.
#pragma once

#include "board/position.h"

namespace classic {

// A move for the root from the book, or else from the learning file, already
// checked to be legal here; 0 when neither may be used or neither knows one.
Move book_root_move(const Position& root);

// Remembers the result of a finished search in the learning file when the rules
// allow it. `depth` is the last iteration started.
void learn_root_result(const Position& root, Move best, int score, int depth);

}  // namespace classic
