// The principal variation between the root and the transposition table, and the
// move to ponder on: the same walks for both engines.
#pragma once

#include "board/position.h"
#include "engine/hash_table.h"

// Re-stores the line after `best` (pv[1] on, 0-terminated) in the table as moves
// without a score, so that the next pass meets them as hash moves; cuts `pv` where
// it stops being playable. The root itself gets no entry. `maxLength` counts the
// best move too.
void pv_to_table(TranspositionTable& table, Position& root, Move best, Move* pv, int maxLength);
// pv[0] = rootMove, then the table's moves after it for as long as they can be
// played, 0-terminated.
void pv_from_table(const TranspositionTable& table, Position& root, Move rootMove, Move* pv, int maxLength);
// The reply to ponder on after `best`: `expected` (the principal variation's reply)
// when it can be played, else the table's move for the position after `best` when
// it can; 0 otherwise.
Move ponder_move(const TranspositionTable& table, Position& root, Move best, Move expected);
