// One move of a node's move loop: its extension, the pruning that may skip it, and
// its search with reductions and re-searches. The node's own loop and the threads
// sharing the node at a split point go through the same steps.
#pragma once

#include "board/position.h"
#include "engine/search_types.h"
#include "veltrix/search_state.h"

namespace veltrix {
// What the move loop knows about its node.
struct NodeFrame {
  int alpha;  // rises in PV nodes as better moves are found
  int beta, depth, ply;
  NodeType nodeType;
  int staticEval;  // SCORE_NONE in check
  bool inCheck;
  Move hashMove, killer1, killer2;
};

struct MoveFacts {
  bool quiet;
  bool givesCheck;
  int extension;  // 1 for a check that does not give material away
};

MoveFacts facts_of(const Position& pos, Move m);

// Late quiet moves of shallow nodes, and quiet moves that could not lift the score
// to alpha, are skipped without a search (true). A futile move lifts bestValue to
// the most it could have reached.
bool prunes_move(const Position& pos, const NodeFrame& node, Move m, const MoveFacts& facts, int moveCount,
                 int& bestValue);

// Makes the move (the moveCount-th of the node), searches it, reduced and again at
// full depth and window as its results ask, and takes it back. Answers its value
// from the node's side; after a stop the value means nothing.
int search_move(SearchThread& th, Position& pos, const NodeFrame& node, Move m, const MoveFacts& facts, int moveCount);
}  // namespace veltrix
