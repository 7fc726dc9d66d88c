// One move of a node's move loop: the extensions, reductions and pruning rules
// that decide how deep the move is searched, and the search itself. The node's
// own loop and the threads sharing the node at a split point go through the same
// steps.
#pragma once

#include "board/position.h"
#include "engine/search_types.h"

namespace classic {
// What the move loop of a node knows about the node.
struct NodeFrame {
  int alpha, beta, depth, ply;
  NodeType nodeType;
  bool inCheck, improving;
  int staticEval;  // SCORE_NONE in check
  Move hashMove, killer1, killer2, counter1, counter2;
};

// The expected type of a null-window child: the children of a cut node are
// expected to fail low, those of every other node to fail high.
constexpr NodeType null_window_child(NodeType parent) { return parent == CutNode ? AllNode : CutNode; }

// The facts about a move that its treatment depends on.
struct MoveTraits {
  bool givesCheck;
  bool tactical;       // capture, promotion or en passant
  bool losingCapture;  // a plain capture that loses material in the exchange
  int see;             // 0 for promotions and en passant
  int extension;       // 1 for a check that does not give material away
};

MoveTraits classify_move(const Position& pos, Move m);

// Searches the move (the moveCount-th of the node) and answers true with its value
// from the node's point of view, or false when the move is pruned without a
// search. A move pruned for futility lifts bestValue to the value it could at
// best have reached. After a stop the value means nothing.
bool search_move(Position& pos, const NodeFrame& node, Move m, int moveCount, const MoveTraits& traits, int& bestValue,
                 int& value);
}  // namespace classic
