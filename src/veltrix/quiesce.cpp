#include <algorithm>

#include "engine/pruning.h"
#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/picker.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/see.h"
#include "veltrix/threads.h"

namespace veltrix {
namespace {
// Whether a capture must first show that its exchange does not lose. Captures
// that cannot reach alpha even with the captured piece added are dropped here
// (answer -1), raising the best value to what they could have reached.
int needs_exchange_test(const Position& pos, Move m, Move hashMove, bool inCheck, int staticEval, int alpha,
                        int& bestValue) {
  if (PromotionPiece(m) || EpCapture(m)) return 0;
  // In check, every evasion is searched until one of them escapes the mate.
  if (inCheck) return bestValue < -SCORE_MATE_RANGE ? 0 : 1;
  if (gives_check(pos, m) || m == hashMove || bestValue < -SCORE_MATE_RANGE ||
      is_free_pawn_advance(pos, m, FreePawnRank))
    return 1;
  int futile = staticEval + CaptureFutilityBase + value_of(CapturedPiece(m));
  if (futile <= alpha) {
    bestValue = std::max(bestValue, futile);
    return -1;
  }
  return 1;
}
}  // namespace

int quiesce(SearchThread& th, Position& pos, int alpha, int beta, int ply, bool pvNode) {
  if (ply >= MaxSearchPly - 1) return alpha;
  count_node(th);
  const bool inCheck = in_check(pos);
  const int tableDepth = inCheck ? 0 : -1;
  TableHit tt;
  tt.probe(TT, pos.HashKey, ply);
  // Only an entry of the quiescence search's own kind answers for it.
  if (!pvNode && tt.hasValue && tt.entry.depth == tableDepth && tt.bound_cuts(beta)) return tt.score;

  const int entryAlpha = alpha;
  int staticEval = SCORE_NONE, bestValue = -SCORE_INFINITE;
  if (!inCheck) {
    staticEval = tt.found && tt.entry.staticEval != SCORE_NONE ? tt.entry.staticEval : evaluate_at(th, pos, ply);
    // Standing pat: the side to move need not capture at all.
    if (staticEval >= beta) return staticEval;
    bestValue = staticEval;
    if (pvNode) alpha = std::max(alpha, staticEval);
  }

  Move bestMove = 0;
  int moveCount = 0;
  MovePicker picker;
  picker_start_captures(picker, tt.entry.move, inCheck);
  while (Move m = next_move(pos, picker)) {
    moveCount++;
    int test = needs_exchange_test(pos, m, tt.entry.move, inCheck, staticEval, alpha, bestValue);
    if (test < 0 || (test > 0 && see(pos, m) < 0)) continue;
    play_move(th, pos, m, ply);
    int v = -quiesce(th, pos, -beta, -alpha, ply + 1, pvNode);
    take_back(pos, m, ply);
    if (Pool.stopped(slot_of(th))) return 0;
    if (v > bestValue) {
      bestValue = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) {
          TT.store(pos.HashKey, BOUND_LOWER, score_to_table(v, ply), m, tableDepth, staticEval);
          return v;
        }
        if (pvNode) alpha = v;
      }
    }
  }
  if (inCheck && moveCount == 0) return mated_in(ply);
  TT.store(pos.HashKey, bestValue > entryAlpha ? BOUND_EXACT : BOUND_UPPER, score_to_table(bestValue, ply), bestMove,
           tableDepth, staticEval);
  return bestValue;
}
}  // namespace veltrix
