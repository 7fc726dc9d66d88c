// The principal variation between the root and the transposition table.
#pragma once

#include "board/position.h"

// Re-stores the continuation of Search.PrincipalVariation after the root best
// move in the table (without a score), so that the next pass finds its moves as
// hash moves; cuts the variation where it stops being playable.
void pv_to_table(Position& root);
// Fills Search.PrincipalVariation from entry 1 on with the table's moves after
// `rootMove`; the caller sets entry 0.
void pv_from_table(Position& root, Move rootMove);
