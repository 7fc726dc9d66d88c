#include <algorithm>

#include "board/movegen.h"
#include "egtb/tablebase.h"
#include "engine/pruning.h"
#include "eval/evaluate.h"
#include "search/history.h"
#include "search/hooks.h"
#include "search/margins.h"
#include "search/score.h"
#include "search/search.h"
#include "search/search_move.h"
#include "search/search_state.h"
#include "search/see.h"
#include "search/threads.h"
#include "search/time.h"
#include "search/tt.h"
#include "syzygy/syzygy.h"

namespace classic {
namespace {
// A singular search stores its result under a key of its own, so that it never
// passes for the full search of the same position.
constexpr Key ExclusionKey[2] = {0x73C621CC9FB3A483ULL, 0xAFC621BC3EC3A473ULL};

// Main-thread nodes between two reports of the line being searched.
constexpr int CurrLineInterval = 200000;
// What the pruning attempts answer when they prove nothing: no score can be this.
constexpr int NoCutoff = -2 * SCORE_INFINITE;

constexpr NodeType non_pv(NodeType t) { return t == CutNode ? CutNode : AllNode; }

// Null move: when even passing keeps the score above beta, a real move will too.
// Answers NoCutoff when the node must be searched after all.
int try_null_move(Position& pos, SearchStack& ss, int beta, int depth, int eval, int ply, NodeType nodeType) {
  int thread = pos.ThreadSlot;
  int reduced = depth - 3 - depth / 4 - std::min((eval - beta) / NullMoveEvalStep, 3);
  ss.skipPruning[ply + 1] = 1;
  ss.currentMove[ply] = 0;
  make_null_move(pos, ply);
  int v = -search_node(pos, -beta, -beta + 1, reduced, ply + 1, null_window_child(nodeType));
  unmake_null_move(pos, ply);
  ss.skipPruning[ply + 1] = 0;
  if (Pool.stopped(thread)) return 0;
  if (v < beta) return NoCutoff;
  // A mate found after passing proves nothing about the real moves.
  int result = v > SCORE_MATE_RANGE ? beta : v;
  if (depth < NullMoveVerifyDepth && abs_score(beta) < SCORE_DECISIVE) return result;
  // Deep down, zugzwang could fool the null move: confirm with a real search.
  ss.skipPruning[ply] = 1;
  int w = search_node(pos, beta - 1, beta, reduced, ply, nodeType);
  ss.skipPruning[ply] = 0;
  if (Pool.stopped(thread)) return 0;
  return w >= beta ? result : NoCutoff;
}

// ProbCut: a good capture that beats beta by a margin at a shallow depth most
// likely beats beta at full depth as well.
int try_probcut(Position& pos, int beta, int depth, int ply, NodeType nodeType, Move hashMove) {
  int thread = pos.ThreadSlot;
  int pb = std::min(beta + ProbCutMargin, SCORE_INFINITE);
  MovePicker& picker = Search.pickers[thread][ply];
  picker_start(picker, CaptureHash);
  while (Move m = next_capture(pos, picker, hashMove)) {
    if (!PromotionPiece(m) && !EpCapture(m) && see(pos, m) < 0) continue;
    make_move(pos, m, ply);
    int v = -search_node(pos, -pb, -pb + 1, depth - 4, ply + 1, null_window_child(nodeType));
    unmake_move(pos, m, ply);
    if (Pool.stopped(thread)) return 0;
    if (v >= pb) return v;
  }
  return NoCutoff;
}

// The table's bound may tell more than the static evaluation.
int refined_eval(int staticEval, const TableHit& tt) {
  if (tt.hasValue && abs_score(tt.score) < SCORE_DECISIVE &&
      (((tt.entry.bound & BOUND_LOWER) && staticEval < tt.score) ||
       ((tt.entry.bound & BOUND_UPPER) && tt.score < staticEval)))
    return tt.score;
  return staticEval;
}

// The main thread's duties at every node: the clock, the input, and now and then
// the line it is searching.
bool main_thread_polls(const SearchStack& ss, int ply) {
  if (poll_input()) return true;
  if (SearchConfig.showCurrLine && Reports.currentLine && ++Search.currLineCounter >= CurrLineInterval) {
    Search.currLineCounter = 0;
    Reports.currentLine(ss, ply);
  }
  return false;
}
}  // namespace

int search_node(Position& pos, int alpha, int beta, int depth, int ply, NodeType nodeType) {
  const int thread = pos.ThreadSlot;
  const bool pvNode = nodeType == PvNode;
  SearchStack& ss = Search.stacks[thread];

  // 1. The main thread looks at the clock and the input.
  if (thread == 0 && main_thread_polls(ss, ply)) return 0;

  // 2. At the horizon, and deep down, only captures are searched.
  if (depth < 1 || ply >= MaxSearchPly) {
    int v = quiesce(pos, alpha, beta, 0, ply, pvNode);
    return Pool.stopped(thread) ? 0 : v;
  }

  int bestValue = -SCORE_INFINITE, moveCount = 0, quietCount = 0;
  Move bestMove = 0;
  Move quiets[256];
  ss.currentMove[ply] = 0;
  ss.staticEval[ply] = SCORE_NONE;
  const Move killer1 = ss.killers[ply][0], killer2 = ss.killers[ply][1];
  const Move previous = ss.currentMove[ply - 1];
  Move counter1 = 0, counter2 = 0;
  if (previous) {
    counter1 = CounterMove1[thread][MovedPiece(previous)][To(previous)];
    counter2 = CounterMove2[thread][MovedPiece(previous)][To(previous)];
  }
  count_node(thread);
  const int entryAlpha = alpha;
  const int us = pos.SideToMove;

  // 3. Draws by rule, mate-distance bounds and the endgame tables (the Gaviota
  //    ones first, which know the distance to mate, then the Syzygy ones); a
  //    singular search, which only serves its node, skips them.
  const Move excluded = ss.excludedMove[ply];
  Key key = pos.HashKey;
  if (excluded) {
    key ^= ExclusionKey[us];
  } else {
    if (thread == 0 && ply > Search.selDepth) Search.selDepth = ply;
    if (is_draw(pos)) return draw_score(us == Search.rootSide);
    alpha = std::max(alpha, mated_in(ply));
    beta = std::min(beta, SCORE_MATE - 1 - ply);
    if (alpha >= beta) return alpha;
    if (thread == 0 && SearchConfig.useTablebases && Tablebases.available && ply <= Search.tbProbePlyLimit &&
        popcount(pos.occupied()) <= Tablebases.maxPieces) {
      int v;
      if (tablebase_probe(pos, ply, us == Search.rootSide, v)) return v;
    }
    if (int v; thread == 0 && syzygy_probe(pos, depth, ply, draw_score(us == Search.rootSide), v)) return v;
  }

  // 4. The transposition table: a deep enough bound ends a non-PV node at once.
  TableHit tt;
  tt.probe(TT, key, ply);
  Move hashMove = tt.entry.move;
  if (!pvNode && tt.cuts(depth, beta)) {
    ss.currentMove[ply] = hashMove;
    return tt.score;
  }

  // 5. The static evaluation.
  const bool inCheck = in_check(pos);
  int staticEval = SCORE_NONE;
  if (!inCheck) {
    staticEval = evaluate(pos, alpha, beta, 0);
    ss.staticEval[ply] = staticEval;
  }

  if (!inCheck && !ss.skipPruning[ply]) {
    const int eval = refined_eval(staticEval, tt);
    if (!pvNode) {
      // 6. Razoring: far below alpha at the frontier, only tactics could save the node.
      if (depth < 4 && !hashMove && alpha >= eval + RazorMargin[depth] && !has_pawn_on_seventh(pos, us)) {
        if (depth == 1) {
          int v = quiesce(pos, alpha, beta, 0, ply, false);
          return Pool.stopped(thread) ? 0 : v;
        }
        int r = alpha - RazorMargin[depth];
        int v = quiesce(pos, r, r + 1, 0, ply, false);
        if (Pool.stopped(thread)) return 0;
        if (v <= r) return v;
      }
      const bool hasPieces = has_non_pawn_material(pos, us);
      // 7. Static null move: so far above beta that a shallow search will not fall back.
      if (depth < 7 && hasPieces && eval < SCORE_DECISIVE && eval - StaticNullMargin[depth] >= beta)
        return eval - StaticNullMargin[depth];
      // 8. Null move.
      if (depth >= 2 && hasPieces && eval >= beta) {
        int v = try_null_move(pos, ss, beta, depth, eval, ply, nodeType);
        if (Pool.stopped(thread)) return 0;
        if (v != NoCutoff) return v;
      }
      // 9. ProbCut.
      if (depth >= ProbCutDepth && abs_score(beta) < SCORE_DECISIVE) {
        int v = try_probcut(pos, beta, depth, ply, nodeType, hashMove);
        if (Pool.stopped(thread)) return 0;
        if (v != NoCutoff) return v;
      }
    }

    // 10. Internal iterative deepening: a shallow search finds a move to try first.
    if (!hashMove && depth >= IidDepth && (pvNode || staticEval - IidMargin >= beta)) {
      ss.skipPruning[ply] = 1;
      search_node(pos, alpha, beta, pvNode ? depth - 3 : depth / 2, ply, nodeType);
      ss.skipPruning[ply] = 0;
      if (Pool.stopped(thread)) return 0;
      tt.probe(TT, key, ply);
      hashMove = tt.entry.move;
    }
  }

  // 11. The move loop, with the hash move singular when every other move falls
  //     clearly short of it, and the rest of the moves shared with idle helpers.
  const bool singularCandidate = !excluded && depth >= SingularDepth && tt.found && hashMove &&
                                 (tt.entry.bound & BOUND_LOWER) && tt.entry.depth >= depth - 3 &&
                                 tt.entry.score != SCORE_NONE && abs_score(tt.score) < SCORE_DECISIVE;
  const bool splitAllowed = thread_count() > 1 && depth >= SplitDepth;
  const int earlierEval = ss.staticEval[ply - 2];
  const bool improving =
      ss.staticEval[ply] == SCORE_NONE || earlierEval == SCORE_NONE || ss.staticEval[ply] >= earlierEval;

  // A singular search runs inside this node's move loop, so it must not take over
  // the node's own picker.
  MovePicker& picker = excluded ? Search.singularPickers[thread][ply] : Search.pickers[thread][ply];
  picker_start(picker, inCheck ? EvasionHash : MainHash);
  NodeFrame node{alpha,      beta,     depth,   ply,     nodeType, inCheck, improving,
                 staticEval, hashMove, killer1, killer2, counter1, counter2};
  while (Move m = next_move(pos, picker, hashMove, killer1, killer2, counter1, counter2)) {
    if (m == excluded) continue;
    moveCount++;
    ss.currentMove[ply] = m;

    MoveTraits traits = classify_move(pos, m);
    if (singularCandidate && m == hashMove && !traits.extension) {
      int sb = tt.score - SingularMarginPerPly * depth;
      ss.excludedMove[ply] = m;
      ss.skipPruning[ply] = 1;
      int v = search_node(pos, sb - 1, sb, depth / 2, ply, non_pv(nodeType));
      ss.excludedMove[ply] = 0;
      ss.skipPruning[ply] = 0;
      ss.currentMove[ply] = m;  // the singular search used this ply's slot for its own moves
      if (Pool.stopped(thread)) return 0;
      if (v < sb) traits.extension = 1;
    }

    int v;
    if (!search_move(pos, node, m, moveCount, traits, bestValue, v)) continue;
    if (Pool.stopped(thread)) return 0;
    if (!traits.tactical) quiets[quietCount++] = m;

    if (v > bestValue) {
      bestValue = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) break;
        if (pvNode) alpha = node.alpha = v;
      }
    }
    if (splitAllowed && try_split(pos, picker, node, moveCount, bestValue, bestMove, quiets, quietCount)) {
      // A split point given up half-way has not seen all moves: nothing to store.
      if (Pool.stopped(thread)) return 0;
      break;
    }
  }

  // 12. Mate or stalemate; otherwise the result goes to the ordering tables and
  //     the transposition table.
  if (moveCount == 0) {
    if (inCheck) return excluded ? alpha : mated_in(ply);
    return 0;
  }
  int bound = bestValue >= beta ? BOUND_LOWER : bestValue > entryAlpha ? BOUND_EXACT : BOUND_UPPER;
  if (!inCheck && bestValue >= beta && bestMove && !is_tactical(bestMove)) {
    update_killers_and_counters(thread, ss, previous, hashMove, bestMove, ply);
    update_history(thread, bestMove, depth, quiets, quietCount);
  }
  TT.store(key, bound, score_to_table(bestValue, ply), bestMove, depth, SCORE_NONE);
  return bestValue;
}
}  // namespace classic
