// The classic search: "go" to "bestmove", iterative deepening over the root moves,
// the main alpha-beta search and the quiescence search.
#pragma once

#include "board/position.h"

// Start-up: the constant search tables and the default transposition table.
void init_search();

// One whole search of the game position with the limits in Time: prints the
// reports and "bestmove", and makes the best move on the position.
void go_search(Position& pos);

// Iterative deepening; leaves the answer in Search.PrincipalVariation[0].
void think(Position& pos);
// One pass over the root moves at the given depth.
void root_search(Position& pos, int alpha, int beta, int depth, bool inCheck);

// Fail-soft principal variation search below the root. Returns 0 once the search
// has been stopped; the caller must then return at once.
int search_node(Position& pos, int alpha, int beta, int depth, int ply, bool pvNode, bool cutNode);
// Captures, promotions and check evasions below the horizon.
int quiesce(Position& pos, int alpha, int beta, int qdepth, int ply, bool pvNode);
