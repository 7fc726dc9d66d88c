// Sharing a node's remaining moves with idle threads.
#pragma once

#include "board/position.h"
#include "veltrix/picker.h"
#include "veltrix/search_move.h"
#include "veltrix/split_point.h"

// Offers the rest of the node's moves to idle threads. True when a split point
// searched all of them, or was cut off: moveCount, bestValue and bestMove then hold
// the node's result. False when nobody could be had.
bool try_split(SearchThread& th, Position& pos, MovePicker& picker, const NodeFrame& node, int& moveCount,
               int& bestValue, Move& bestMove);

// One thread's work at a split point: takes moves from the shared picker until none
// is left, one of them fails high, or its search stops.
void split_point_search(SearchThread& th, Position& pos, SplitPoint& sp);

// A slave's share of the split point it was handed: the master's board and line
// taken up, then split_point_search.
void join_split_point(int slot);
