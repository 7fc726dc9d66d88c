// Sharing a node's remaining moves with idle helper threads.
#pragma once

#include "board/position.h"
#include "search/picker.h"
#include "search/search_move.h"
#include "search/thread_pool.h"

// Offers the rest of the node's moves to idle helpers. True when the split point
// searched all remaining moves of the node (or was cut off); bestValue and bestMove
// then hold the node's result. False when no helper could be had.
bool try_split(Position& pos, MovePicker& picker, const NodeFrame& node, int moveCount, int& bestValue, Move& bestMove);

// One participant's work at a split point: takes moves from the shared picker
// until none is left, one of them fails high, or the search stops.
void split_point_search(Position& pos, SplitPoint& sp);
