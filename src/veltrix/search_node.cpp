#include <algorithm>

#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/history.h"
#include "veltrix/picker.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/search_move.h"
#include "veltrix/see.h"
#include "veltrix/split.h"
#include "veltrix/time.h"

namespace {

// A singular search stores its result under a key of its own, so that it never
// passes for the full search of the same position.
constexpr Key ExclusionKey[2] = {0x73C621CC9FB3A483ULL, 0xAFC621BC3EC3A473ULL};

struct TableHit {
  HashEntry entry;
  bool found = false;
  int score = ScoreNone;  // converted to the node's ply

  void probe(Key key, int ply) {
    found = table_probe(key, entry);
    score = score_from_table(entry.score, ply);
  }
  bool has_value() const { return found && entry.bound != BoundNone && entry.score != ScoreNone; }
  bool cuts(int depth, int beta) const {
    return has_value() && entry.depth >= depth &&
           (((entry.bound & BoundLower) && score >= beta) || ((entry.bound & BoundUpper) && score < beta));
  }
};

bool has_pieces(const Position& pos, int side) {
  const int* n = pos.PieceCount[side];
  return n[Knight] + n[Bishop] + n[Rook] + n[Queen] > 0;
}

bool has_pawn_on_seventh(const Position& pos, int side) {
  return (pos.PieceBB[side][Pawn] & RelativeRankBB[side][6]) != 0;
}

bool is_main_thread(const SearchThread& th) { return &th == &SearchThreads[0]; }

// The main thread looks at the clock and the input every so many nodes.
void poll_when_due(SearchThread& th) {
  if (!is_main_thread(th) || th.nodes.load(std::memory_order_relaxed) < Clock.nextPoll) return;
  Clock.nextPoll += Clock.pollInterval;
  poll_search();
}

// Null move: when even passing keeps the score above beta, a real move will too.
// Answers ScoreNone when the node must be searched after all.
int try_null_move(SearchThread& th, Position& pos, int beta, int depth, int eval, int ply) {
  SearchStack& ss = th.stack;
  int reduced = std::max(depth - depth / 4 - std::min((eval - beta) / 80, 3) - 3, 0);
  ss.currentMove[ply] = 0;
  ss.skipPruning[ply + 1] = 1;
  play_null_move(th, pos, ply);
  int v = -search_node(th, pos, -beta, -beta + 1, reduced, ply + 1, AllNode);
  take_back_null_move(pos, ply);
  ss.skipPruning[ply + 1] = 0;
  if (search_stopped(th) || v < beta) return ScoreNone;
  // A mate found after passing proves nothing about the real moves.
  int result = v > ScoreMateRange ? beta : v;
  if (depth < 12 && abs_score(result) < ScoreDecisive) return result;
  // Deep down, zugzwang could fool the null move: confirm with a real search.
  ss.skipPruning[ply] = 1;
  int w = search_node(th, pos, beta - 1, beta, std::max(reduced, 1), ply, AllNode);
  ss.skipPruning[ply] = 0;
  return !search_stopped(th) && w >= beta ? result : ScoreNone;
}

// ProbCut: a capture that beats beta by a margin at a shallow depth most likely
// beats beta at full depth as well.
int try_probcut(SearchThread& th, Position& pos, int beta, int depth, int eval, int ply, Move hashMove) {
  int pb = beta + 80;
  MovePicker picker;
  picker_start_captures(picker, hashMove, false);
  while (Move m = next_move(pos, picker)) {
    if (!PromotionPiece(m) && !EpCapture(m) && eval + 50 + value_of(CapturedPiece(m)) < beta) continue;
    play_move(th, pos, m, ply);
    int v = -search_node(th, pos, -pb, -pb + 1, depth - 4, ply + 1, AllNode);
    take_back(pos, m, ply);
    if (search_stopped(th)) return ScoreNone;
    if (v >= pb) return v;
  }
  return ScoreNone;
}

// Internal iterative deepening: without a hash move, a shallower search of the
// node finds one to try first.
void find_hash_move(SearchThread& th, Position& pos, int alpha, int beta, int depth, int ply, int nodeType) {
  int d = std::max(nodeType == PvNode ? depth - 2 : depth - depth / 2 - 2, 1);
  th.stack.skipPruning[ply] = 1;
  int v = search_node(th, pos, alpha, beta, d, ply, nodeType);
  if (!search_stopped(th) && v <= alpha) search_node(th, pos, -ScoreInfinite, beta, d, ply, nodeType);
  th.stack.skipPruning[ply] = 0;
}

// The hash move is singular when every other move falls clearly short of its
// score; then it deserves a deeper look.
bool hash_move_is_singular(SearchThread& th, Position& pos, const TableHit& tt, int depth, int ply, int nodeType) {
  SearchStack& ss = th.stack;
  int sb = tt.score - 2 * depth;
  ss.excludedMove[ply] = tt.entry.move;
  ss.skipPruning[ply] = 1;
  int v = search_node(th, pos, sb - 1, sb, depth / 2, ply, nodeType);
  ss.excludedMove[ply] = 0;
  ss.skipPruning[ply] = 0;
  ss.currentMove[ply] = tt.entry.move;  // the singular search used this ply's slot for its own moves
  return v < sb;
}

}  // namespace

int reduction(int depth, int moveCount, int nodeType, Move m) {
  int r = base_reduction(depth, moveCount, nodeType == PvNode);
  if (nodeType == AllNode && history_of(m) < 0) r++;
  return r;
}

int search_node(SearchThread& th, Position& pos, int alpha, int beta, int depth, int ply, int nodeType) {
  const bool pvNode = nodeType == PvNode;
  SearchStack& ss = th.stack;
  count_node(th);
  poll_when_due(th);
  if (search_stopped(th)) return 0;
  if (is_draw(pos, RepetitionRule::OneEarlier)) return 0;

  alpha = std::max(alpha, mated_in(ply));
  beta = std::min(beta, ScoreMate - 1 - ply);
  if (alpha >= beta) return alpha;
  const int entryAlpha = alpha;
  if (depth < 1 || ply >= MaxSearchPly - 1) {
    int v = quiesce(th, pos, alpha, beta, ply, pvNode);
    return search_stopped(th) ? 0 : v;
  }

  const int us = pos.SideToMove;
  int bestValue = -ScoreInfinite, moveCount = 0;
  Move bestMove = 0;
  ss.currentMove[ply] = 0;
  const Move killer1 = ss.killers[ply][0], killer2 = ss.killers[ply][1];
  ss.killers[ply + 1][0] = ss.killers[ply + 1][1] = 0;
  if (is_main_thread(th) && ply > Search.selDepth) Search.selDepth = ply;
  const Move excluded = ss.excludedMove[ply];
  const Key key = excluded ? pos.HashKey ^ ExclusionKey[us] : pos.HashKey;

  TableHit tt;
  tt.probe(key, ply);
  Move hashMove = tt.entry.move;
  if (!pvNode && tt.cuts(depth, beta)) {
    ss.currentMove[ply] = hashMove;
    return tt.score;
  }

  const bool inCheck = in_check(pos);
  int staticEval = ScoreNone;
  if (!inCheck) {
    staticEval = tt.found && tt.entry.staticEval != ScoreNone ? tt.entry.staticEval : evaluate_at(th, pos, ply);
    int eval = staticEval;
    if (!ss.skipPruning[ply]) {
      // The table's bound may tell more than the static evaluation.
      if (tt.has_value() && tt.entry.depth >= 1 && abs_score(tt.score) < ScoreDecisive &&
          (((tt.entry.bound & BoundLower) && tt.score >= eval) || ((tt.entry.bound & BoundUpper) && tt.score < eval)))
        eval = tt.score;

      // Razoring: far below alpha near the horizon, only captures could save the node.
      if (!pvNode && depth < 4 && !hashMove && abs_score(eval) < ScoreDecisive && alpha > -ScoreMateRange &&
          !has_pawn_on_seventh(pos, us) && eval + 200 + 10 * depth <= alpha) {
        int r = alpha - 200 - 10 * depth;
        int v = quiesce(th, pos, r - 1, r, ply, false);
        if (search_stopped(th)) return 0;
        if (v <= r) return v;
      }
      const bool hasPieces = has_pieces(pos, us);
      // Static null move: so far above beta that a shallow search will not fall back.
      if (depth < 7 && hasPieces && beta < ScoreMateRange && eval < ScoreDecisive && eval - 80 * depth >= beta)
        return eval - 80 * depth;
      if (!pvNode && depth >= 2 && hasPieces && eval >= beta && beta < ScoreMateRange) {
        int v = try_null_move(th, pos, beta, depth, eval, ply);
        if (search_stopped(th)) return 0;
        if (v != ScoreNone) return v;
      }
      if (!pvNode && depth >= 5 && abs_score(beta) < ScoreMateRange) {
        int v = try_probcut(th, pos, beta, depth, eval, ply, hashMove);
        if (search_stopped(th)) return 0;
        if (v != ScoreNone) return v;
      }
      if (!hashMove && depth >= (pvNode ? 5 : 8) && alpha > -ScoreMateRange && beta < ScoreMateRange &&
          (pvNode || (nodeType == CutNode && staticEval >= beta - 100))) {
        find_hash_move(th, pos, alpha, beta, depth, ply, nodeType);
        if (search_stopped(th)) return 0;
        tt.probe(key, ply);
        hashMove = tt.entry.move;
      }
    }
  }

  const bool singularCandidate = !excluded && depth >= 8 && tt.found && hashMove && (tt.entry.bound & BoundLower) &&
                                 tt.entry.depth >= std::max(depth - 3, 1) && tt.score < ScoreDecisive;
  const bool splitAllowed = !inCheck && Engine.threadCount >= 2 && depth >= 5;
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
      if (search_stopped(th)) return 0;
      if (singular) facts.extension = 1;
    }
    if (prunes_move(pos, node, m, facts, moveCount, bestValue)) continue;

    int v = search_move(th, pos, node, m, facts, moveCount);
    if (search_stopped(th)) return 0;
    if (facts.quiet) tried[triedCount++] = m;

    if (v > bestValue) {
      bestValue = v;
      if (v > node.alpha) {
        bestMove = m;
        if (v >= beta) break;
        if (pvNode) node.alpha = v;
      }
    }
    if (splitAllowed && try_split(th, pos, picker, node, moveCount, bestValue, bestMove)) {
      // A split point given up half-way has not seen all the moves: nothing to store.
      if (search_stopped(th)) return 0;
      break;
    }
  }

  if (moveCount == 0) return excluded ? entryAlpha : inCheck ? mated_in(ply) : 0;
  int bound = bestValue >= beta ? BoundLower : bestValue > entryAlpha ? BoundExact : BoundUpper;
  if (bound == BoundLower && bestMove && is_quiet(bestMove))
    record_cutoff(bestMove, depth, tried, triedCount, inCheck, ss.killers[ply]);
  table_store(key, bound, score_to_table(bestValue, ply), bestMove, depth, staticEval);
  return bestValue;
}
