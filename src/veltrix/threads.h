// The search threads of veltrix: the Threads option and the split points where
// helper threads join a node's move loop.
#pragma once

#include "board/position.h"
#include "veltrix/picker.h"
#include "veltrix/search_state.h"

// A node's state at the moment its remaining moves could be shared.
struct SplitRequest {
  int alpha, beta, depth, ply, nodeType;
  int staticEval;
  int moveCount;
  Move hashMove, killer1, killer2;
};

// The Threads option: a value equal to the current count changes nothing;
// otherwise the count becomes the value within 1..min(processors, 16).
void set_thread_count(int requested);
// Ends the helper threads (shutdown).
void stop_helpers();
// True when helpers searched the node's remaining moves; bestValue and bestMove
// then hold the node's result. The helper threads have not been built yet, so no
// node is ever shared: the main thread searches every move itself.
bool try_split(SearchThread& th, Position& pos, MovePicker& picker, const SplitRequest& node, int& bestValue,
               Move& bestMove);
