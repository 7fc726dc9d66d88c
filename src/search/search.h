// The classic search: "go" to "bestmove", iterative deepening over the root moves,
// the main alpha-beta search and the quiescence search.
#pragma once

#include "board/position.h"
#include "engine/search_types.h"

namespace classic {
// Start-up: the constant search tables and the default transposition table.
void init_search();

// One whole search of the game position with the limits in Time: the reports,
// the wait of an infinite or pondering search, "bestmove" through the reports,
// and the best move made on the position. A "quit" during the search ends the
// program once the search has returned.
void go_search(Position& pos);

// Iterative deepening; leaves the answer in Search.PrincipalVariation[0].
void think(Position& pos);
// One pass over the root moves at the given depth.
void root_search(Position& pos, int alpha, int beta, int depth);

// Fail-soft principal variation search below the root. Returns 0 once the search
// has been stopped; the caller must then return at once.
int search_node(Position& pos, int alpha, int beta, int depth, int ply, NodeType nodeType);
// Captures, promotions and check evasions below the horizon.
int quiesce(Position& pos, int alpha, int beta, int qdepth, int ply, bool pvNode);

// Ends the program: helpers stopped, the four tables released, status 0.
[[noreturn]] void quit_program();
}  // namespace classic
