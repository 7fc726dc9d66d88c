// Moves written in standard algebraic notation, as PGN files and test suites
// give them.
#pragma once

#include <string_view>

#include "board/position.h"

// The generated move of the position that the token names, or 0. One trailing
// check, mate or annotation sign is allowed. Whether the move leaves the own king
// attacked is the caller's business. Prints nothing.
Move read_san(const Position& pos, std::string_view token);
