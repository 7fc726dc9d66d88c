#include "veltrix/search_move.h"

#include <algorithm>

#include "veltrix/evaluation.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/see.h"
#include "veltrix/threads.h"

namespace veltrix {
namespace {
int new_depth(const NodeFrame& node, const MoveFacts& facts) { return node.depth - 1 + facts.extension; }
}  // namespace

MoveFacts facts_of(const Position& pos, Move m) {
  MoveFacts facts;
  facts.quiet = is_quiet(m);
  facts.givesCheck = gives_check(pos, m);
  facts.extension = facts.givesCheck && see(pos, m) >= 0 ? 1 : 0;
  return facts;
}

bool prunes_move(const Position& pos, const NodeFrame& node, Move m, const MoveFacts& facts, int moveCount,
                 int& bestValue) {
  if (!facts.quiet || m == node.hashMove || facts.givesCheck || facts.extension || node.inCheck ||
      node.staticEval <= -SCORE_DECISIVE || is_free_pawn_advance(pos, m, FreePawnRank))
    return false;
  // Late quiet moves of shallow nodes are not worth a look at all.
  if (node.depth < 16 && moveCount >= late_move_count(node.depth)) return true;
  // Futility: even a good quiet move would not lift the score to alpha.
  int futileDepth = std::max(new_depth(node, facts) - reduction(node.depth, moveCount, node.nodeType, m), 0);
  int futile = node.staticEval + futility_margin(futileDepth);
  if (futileDepth < 7 && futile <= node.alpha) {
    bestValue = std::max(bestValue, futile);
    return true;
  }
  return false;
}

int search_move(SearchThread& th, Position& pos, const NodeFrame& node, Move m, const MoveFacts& facts, int moveCount) {
  const int alpha = node.alpha, beta = node.beta, depth = node.depth, ply = node.ply;
  const int newDepth = new_depth(node, facts);
  play_move(th, pos, m, ply);
  int v = 0;
  if (node.nodeType == PvNode && moveCount == 1) {
    v = -search_node(th, pos, -beta, -alpha, newDepth, ply + 1, PvNode);
  } else {
    bool refuted = false;
    if (depth >= 3 && moveCount >= 2 && facts.quiet && !facts.givesCheck && m != node.killer1 && m != node.killer2) {
      int r = reduction(depth, moveCount, node.nodeType, m);
      v = -search_node(th, pos, -alpha - 1, -alpha, std::max(newDepth - r, 1), ply + 1, AllNode);
      if (v > alpha && r >= 4 && !Pool.stopped(slot_of(th)))
        v = -search_node(th, pos, -alpha - 1, -alpha, newDepth - 2, ply + 1, AllNode);
      refuted = v <= alpha;
      if (!refuted) tally(slot_of(th), CountReducedFails);
    }
    if (!refuted && !Pool.stopped(slot_of(th))) {
      v = -search_node(th, pos, -alpha - 1, -alpha, newDepth, ply + 1, node.nodeType == AllNode ? CutNode : AllNode);
      if (node.nodeType == PvNode && v > alpha && v < beta && !Pool.stopped(slot_of(th))) {
        tally(slot_of(th), CountPvResearches);
        v = -search_node(th, pos, -beta, -alpha, newDepth, ply + 1, PvNode);
      }
    }
  }
  take_back(pos, m, ply);
  return v;
}
}  // namespace veltrix
