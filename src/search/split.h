// Sharing a node's remaining moves with idle helper threads.
#pragma once

#include "board/position.h"
#include "search/picker.h"

struct SplitRequest {
  int alpha, beta, depth, ply;
  bool inCheck, pvNode, cutNode, improving;
  int moveCount;
  Move hashMove, killer1, killer2, counter1, counter2;
  int staticEval;
};

// True when helpers searched all remaining moves of the node; bestValue and
// bestMove then hold the node's result.
bool try_split(Position& pos, MovePicker& picker, const SplitRequest& node, int& bestValue, Move& bestMove);

// Helper threads join the search between these two calls.
void wake_helpers();
void sleep_helpers();
