#include <algorithm>

#include "engine/pruning.h"
#include "syzygy/syzygy.h"
#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/history.h"
#include "veltrix/picker.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/search_move.h"
#include "veltrix/see.h"
#include "veltrix/threads.h"
#include "veltrix/time.h"

namespace veltrix {
namespace {
// A singular search stores its result under a key of its own, so that it never
// passes for the full search of the same position.
constexpr Key ExclusionKey[2] = {0x73C621CC9FB3A483ULL, 0xAFC621BC3EC3A473ULL};

bool is_main_thread(const SearchThread& th) { return &th == &SearchThreads[0]; }

// The main thread looks at the clock and the input every so many nodes.
void poll_when_due(SearchThread& th) {
  if (!is_main_thread(th) || th.nodes.load(std::memory_order_relaxed) < Clock.nextPoll) return;
  Clock.nextPoll += Clock.pollInterval;
  poll_search();
}

// Null move: when even passing keeps the score above beta, a real move will too.
// Answers SCORE_NONE when the node must be searched after all.
int try_null_move(SearchThread& th, Position& pos, int beta, int depth, int eval, int ply) {
  SearchStack& ss = th.stack;
  int reduced = std::max(depth - depth / 4 - std::min((eval - beta) / NullMoveEvalStep, 3) - 3, 0);
  ss.currentMove[ply] = 0;
  ss.skipPruning[ply + 1] = 1;
  play_null_move(th, pos, ply);
  int v = -search_node(th, pos, -beta, -beta + 1, reduced, ply + 1, AllNode);
  take_back_null_move(pos, ply);
  ss.skipPruning[ply + 1] = 0;
  if (Pool.stopped(slot_of(th)) || v < beta) return SCORE_NONE;
  // A mate found after passing proves nothing about the real moves.
  int result = v > SCORE_MATE_RANGE ? beta : v;
  if (depth < NullMoveVerifyDepth && abs_score(result) < SCORE_DECISIVE) return result;
  // Deep down, zugzwang could fool the null move: confirm with a real search.
  ss.skipPruning[ply] = 1;
  int w = search_node(th, pos, beta - 1, beta, std::max(reduced, 1), ply, AllNode);
  ss.skipPruning[ply] = 0;
  return !Pool.stopped(slot_of(th)) && w >= beta ? result : SCORE_NONE;
}

// ProbCut: a capture that beats beta by a margin at a shallow depth most likely
// beats beta at full depth as well.
int try_probcut(SearchThread& th, Position& pos, int beta, int depth, int eval, int ply, Move hashMove) {
  int pb = beta + ProbCutMargin;
  MovePicker picker;
  picker_start_captures(picker, hashMove, false);
  while (Move m = next_move(pos, picker)) {
    if (!PromotionPiece(m) && !EpCapture(m) && eval + CaptureFutilityBase + value_of(CapturedPiece(m)) < beta) continue;
    play_move(th, pos, m, ply);
    int v = -search_node(th, pos, -pb, -pb + 1, depth - 4, ply + 1, AllNode);
    take_back(pos, m, ply);
    if (Pool.stopped(slot_of(th))) return SCORE_NONE;
    if (v >= pb) return v;
  }
  return SCORE_NONE;
}

// Internal iterative deepening: without a hash move, a shallower search of the
// node finds one to try first.
void find_hash_move(SearchThread& th, Position& pos, int alpha, int beta, int depth, int ply, NodeType nodeType) {
  int d = std::max(nodeType == PvNode ? depth - 2 : depth - depth / 2 - 2, 1);
  th.stack.skipPruning[ply] = 1;
  int v = search_node(th, pos, alpha, beta, d, ply, nodeType);
  if (!Pool.stopped(slot_of(th)) && v <= alpha) search_node(th, pos, -SCORE_INFINITE, beta, d, ply, nodeType);
  th.stack.skipPruning[ply] = 0;
}

// The hash move is singular when every other move falls clearly short of its
// score; then it deserves a deeper look.
bool hash_move_is_singular(SearchThread& th, Position& pos, const TableHit& tt, int depth, int ply, NodeType nodeType) {
  SearchStack& ss = th.stack;
  int sb = tt.score - SingularMarginPerPly * depth;
  ss.excludedMove[ply] = tt.entry.move;
  ss.skipPruning[ply] = 1;
  int v = search_node(th, pos, sb - 1, sb, depth / 2, ply, nodeType);
  ss.excludedMove[ply] = 0;
  ss.skipPruning[ply] = 0;
  ss.currentMove[ply] = tt.entry.move;  // the singular search used this ply's slot for its own moves
  return v < sb;
}

// The table's bound may tell more than the static evaluation.
int refined_eval(int staticEval, const TableHit& tt) {
  if (tt.hasValue && tt.entry.depth >= 1 && abs_score(tt.score) < SCORE_DECISIVE &&
      (((tt.entry.bound & BOUND_LOWER) && tt.score >= staticEval) ||
       ((tt.entry.bound & BOUND_UPPER) && tt.score < staticEval)))
    return tt.score;
  return staticEval;
}
}  // namespace

int reduction(int depth, int moveCount, NodeType nodeType, Move m) {
  int r = base_reduction(depth, moveCount, nodeType == PvNode);
  if (nodeType == AllNode && history_of(m) < 0) r++;
  return r;
}

int search_node(SearchThread& th, Position& pos, int alpha, int beta, int depth, int ply, NodeType nodeType) {
  const bool pvNode = nodeType == PvNode;
  const int thread = slot_of(th);
  SearchStack& ss = th.stack;

  // 1. Count the node; the main thread looks at the clock and the input.
  count_node(th);
  poll_when_due(th);
  if (Pool.stopped(thread)) return 0;

  // 2. Draws by rule and mate-distance bounds.
  if (is_draw(pos, RepetitionRule::OneEarlier)) return 0;
  alpha = std::max(alpha, mated_in(ply));
  beta = std::min(beta, SCORE_MATE - 1 - ply);
  if (alpha >= beta) return alpha;
  const int entryAlpha = alpha;

  // 3. At the horizon, and deep down, only captures are searched.
  if (depth < 1 || ply >= MaxSearchPly - 1) {
    int v = quiesce(th, pos, alpha, beta, ply, pvNode);
    return Pool.stopped(thread) ? 0 : v;
  }
  // The endgame tables, for a position just reached by a capture or a pawn move.
  if (int v; is_main_thread(th) && !ss.excludedMove[ply] && syzygy_probe(pos, depth, ply, 0, v)) return v;

  const int us = pos.SideToMove;
  int bestValue = -SCORE_INFINITE, moveCount = 0;
  Move bestMove = 0;
  ss.currentMove[ply] = 0;
  const Move killer1 = ss.killers[ply][0], killer2 = ss.killers[ply][1];
  ss.killers[ply + 1][0] = ss.killers[ply + 1][1] = 0;
  if (is_main_thread(th) && ply > Search.selDepth) Search.selDepth = ply;
  const Move excluded = ss.excludedMove[ply];
  const Key key = excluded ? pos.HashKey ^ ExclusionKey[us] : pos.HashKey;

  // 4. The transposition table: a deep enough bound ends a non-PV node at once.
  TableHit tt;
  tt.probe(TT, key, ply);
  Move hashMove = tt.entry.move;
  if (!pvNode && tt.cuts(depth, beta)) {
    ss.currentMove[ply] = hashMove;
    return tt.score;
  }

  // 5. The static evaluation, from the table when it holds one.
  const bool inCheck = in_check(pos);
  int staticEval = SCORE_NONE;
  if (!inCheck) {
    staticEval = tt.found && tt.entry.staticEval != SCORE_NONE ? tt.entry.staticEval : evaluate_at(th, pos, ply);
    if (!ss.skipPruning[ply]) {
      const int eval = refined_eval(staticEval, tt);

      // 6. Razoring: far below alpha near the horizon, only captures could save the node.
      if (!pvNode && depth < 4 && !hashMove && abs_score(eval) < SCORE_DECISIVE && alpha > -SCORE_MATE_RANGE &&
          !has_pawn_on_seventh(pos, us) && eval + razor_margin(depth) <= alpha) {
        int r = alpha - razor_margin(depth);
        int v = quiesce(th, pos, r - 1, r, ply, false);
        if (Pool.stopped(thread)) return 0;
        if (v <= r) return v;
      }
      const bool hasPieces = has_non_pawn_material(pos, us);
      // 7. Static null move: so far above beta that a shallow search will not fall back.
      if (depth < 7 && hasPieces && beta < SCORE_MATE_RANGE && eval < SCORE_DECISIVE &&
          eval - static_null_margin(depth) >= beta)
        return eval - static_null_margin(depth);
      // 8. Null move.
      if (!pvNode && depth >= 2 && hasPieces && eval >= beta && beta < SCORE_MATE_RANGE) {
        int v = try_null_move(th, pos, beta, depth, eval, ply);
        if (Pool.stopped(thread)) return 0;
        if (v != SCORE_NONE) return v;
      }
      // 9. ProbCut.
      if (!pvNode && depth >= ProbCutDepth && abs_score(beta) < SCORE_MATE_RANGE) {
        int v = try_probcut(th, pos, beta, depth, eval, ply, hashMove);
        if (Pool.stopped(thread)) return 0;
        if (v != SCORE_NONE) return v;
      }
      // 10. Internal iterative deepening.
      if (!hashMove && depth >= (pvNode ? IidDepthPv : IidDepthCut) && alpha > -SCORE_MATE_RANGE &&
          beta < SCORE_MATE_RANGE && (pvNode || (nodeType == CutNode && staticEval >= beta - IidMargin))) {
        find_hash_move(th, pos, alpha, beta, depth, ply, nodeType);
        if (Pool.stopped(thread)) return 0;
        tt.probe(TT, key, ply);
        hashMove = tt.entry.move;
      }
    }
  }

  // 11. The move loop, with the hash move singular when every other move falls
  //     clearly short of it, and the rest of the moves shared with idle helpers.
  const bool singularCandidate = !excluded && depth >= SingularDepth && tt.found && hashMove &&
                                 (tt.entry.bound & BOUND_LOWER) && tt.entry.depth >= std::max(depth - 3, 1) &&
                                 tt.score < SCORE_DECISIVE;
  const bool splitAllowed = !inCheck && thread_count() >= 2 && depth >= SplitDepth;
  Move tried[256];
  int triedCount = 0;

  NodeFrame node{alpha, beta, depth, ply, nodeType, staticEval, inCheck, hashMove, killer1, killer2};
  MovePicker picker;
  picker_start(picker, hashMove, killer1, killer2, inCheck);
  while (Move m = next_move(pos, picker)) {
    if (m == excluded) continue;
    moveCount++;
    ss.currentMove[ply] = m;
    MoveFacts facts = facts_of(pos, m);
    if (singularCandidate && m == hashMove && !facts.extension) {
      bool singular = hash_move_is_singular(th, pos, tt, depth, ply, nodeType);
      if (Pool.stopped(thread)) return 0;
      if (singular) facts.extension = 1;
    }
    if (prunes_move(pos, node, m, facts, moveCount, bestValue)) continue;

    int v = search_move(th, pos, node, m, facts, moveCount);
    if (Pool.stopped(thread)) return 0;
    if (facts.quiet) tried[triedCount++] = m;

    if (v > bestValue) {
      bestValue = v;
      if (v > node.alpha) {
        bestMove = m;
        if (v >= beta) break;
        if (pvNode) node.alpha = v;
      }
    }
    if (splitAllowed && try_split(pos, picker, node, moveCount, bestValue, bestMove, tried, triedCount)) {
      // A split point given up half-way has not seen all the moves: nothing to store.
      if (Pool.stopped(thread)) return 0;
      break;
    }
  }

  // 12. Mate or stalemate; otherwise the result goes to the history and the table.
  if (moveCount == 0) return excluded ? entryAlpha : inCheck ? mated_in(ply) : 0;
  int bound = bestValue >= beta ? BOUND_LOWER : bestValue > entryAlpha ? BOUND_EXACT : BOUND_UPPER;
  if (bound == BOUND_LOWER && bestMove && is_quiet(bestMove))
    record_cutoff(bestMove, depth, tried, triedCount, inCheck, ss.killers[ply]);
  TT.store(key, bound, score_to_table(bestValue, ply), bestMove, depth, staticEval);
  return bestValue;
}
}  // namespace veltrix
