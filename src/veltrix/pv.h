// The principal variation between the root and the transposition table.
#pragma once

#include "board/position.h"

// Stores the moves after the best root move in the table as hash moves, so that
// the next pass searches the line first.
void pv_to_table(Position& root);
// Search.pv from the best root move and the table's moves after it.
void pv_from_table(Position& root);
// The reply to ponder on after the best move: the variation's second move, else
// the table's move, when it can be played; 0 otherwise.
Move ponder_move(Position& root);
