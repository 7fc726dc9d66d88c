#include "search/search_move.h"

#include <algorithm>

#include "board/movegen.h"
#include "engine/pruning.h"
#include "search/history.h"
#include "search/margins.h"
#include "search/score.h"
#include "search/search.h"
#include "search/see.h"
#include "search/threads.h"

namespace classic {
namespace {
// A pawn move that reaches the fifth rank or beyond with no enemy pawn to stop it
// is never pruned.
constexpr int FreePawnRank = 4;

struct Reduction {
  bool reducible = false;
  int r = 0;
  int depth = 0;  // the reduced depth
};

bool is_ordering_move(const NodeFrame& node, Move m) {
  return m == node.hashMove || m == node.killer1 || m == node.killer2 || m == node.counter1 || m == node.counter2;
}

// Late moves that neither extend nor come from the ordering heuristics are
// searched shallower; tactical moves only when they lose material.
Reduction reduction_of(const Position& pos, const NodeFrame& node, Move m, int moveCount, const MoveTraits& t,
                       int newDepth) {
  Reduction red;
  red.depth = newDepth;
  if (t.extension || moveCount < 2 || is_ordering_move(node, m) || (t.tactical && !t.losingCapture)) return red;
  const bool pvNode = node.nodeType == PvNode;
  int r = LmrReduction[pvNode][std::min(node.depth, 63)][std::min(moveCount, 63)];
  if (!pvNode) {
    if (node.nodeType == CutNode) r++;
    if (r >= 2 && !node.improving) r++;
    if (!t.tactical && History[pos.ThreadSlot][MovedPiece(m)][To(m)] < 0) r++;
  }
  if (t.losingCapture) r /= 2;
  red.reducible = true;
  red.r = r;
  red.depth = std::max(newDepth - r, 0);
  return red;
}

// Late-move, futility and SEE pruning of a reducible move in a non-PV node.
bool prunes(const Position& pos, const NodeFrame& node, Move m, int moveCount, const MoveTraits& t,
            const Reduction& red, int& bestValue) {
  if (!red.reducible || node.nodeType == PvNode || node.inCheck || t.givesCheck || bestValue <= -SCORE_MATE_RANGE ||
      is_free_pawn_advance(pos, m, FreePawnRank))
    return false;
  if (!t.tactical) {
    if (node.depth <= 15 && moveCount >= LateMoveCount[node.improving][node.depth]) return true;
    if (red.depth < 7) {
      int futility = node.staticEval + FutilityBase + FutilityMargin[std::clamp(red.depth, 1, 6)];
      if (futility <= node.alpha) {
        bestValue = std::max(bestValue, futility);
        return true;
      }
    }
  }
  return red.depth < 4 && t.see < 0;
}
}  // namespace

MoveTraits classify_move(const Position& pos, Move m) {
  MoveTraits t;
  t.givesCheck = gives_check(pos, m);
  t.tactical = is_tactical(m);
  t.see = PromotionPiece(m) || EpCapture(m) ? 0 : see(pos, m);
  t.losingCapture = CapturedPiece(m) && !PromotionPiece(m) && !EpCapture(m) && t.see < 0;
  t.extension = t.givesCheck && t.see >= 0 ? 1 : 0;
  return t;
}

bool search_move(Position& pos, const NodeFrame& node, Move m, int moveCount, const MoveTraits& traits, int& bestValue,
                 int& value) {
  const int thread = pos.ThreadSlot;
  const int alpha = node.alpha, beta = node.beta, ply = node.ply;
  const int newDepth = node.depth + traits.extension - 1;
  const Reduction red = reduction_of(pos, node, m, moveCount, traits, newDepth);
  if (prunes(pos, node, m, moveCount, traits, red, bestValue)) return false;

  const NodeType child = null_window_child(node.nodeType);
  make_move(pos, m, ply);
  int v;
  if (node.nodeType == PvNode && moveCount == 1) {
    v = -search_node(pos, -beta, -alpha, newDepth, ply + 1, PvNode);
  } else {
    bool done = false;
    if (node.depth >= 3 && red.reducible && red.r > 0) {
      v = -search_node(pos, -alpha - 1, -alpha, red.depth, ply + 1, child);
      done = v <= alpha || Pool.stopped(thread);
      if (!done) tally(thread, CountReducedFails);
    }
    if (!done) {
      v = -search_node(pos, -alpha - 1, -alpha, newDepth, ply + 1, child);
      if (node.nodeType == PvNode && v > alpha && v < beta && !Pool.stopped(thread)) {
        tally(thread, CountPvResearches);
        v = -search_node(pos, -beta, -alpha, newDepth, ply + 1, PvNode);
      }
    }
  }
  unmake_move(pos, m, ply);
  value = v;
  return true;
}
}  // namespace classic
