#include <algorithm>

#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/picker.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/see.h"

namespace {

// Whether a capture must first show that its exchange does not lose. Captures
// that cannot reach alpha even with the captured piece added are dropped here
// (answer -1), raising the best value to what they could have reached.
int needs_exchange_test(const Position& pos, Move m, Move hashMove, bool inCheck, int staticEval, int alpha,
                        int& bestValue) {
  if (PromotionPiece(m) || EpCapture(m)) return 0;
  // In check, every evasion is searched until one of them escapes the mate.
  if (inCheck) return bestValue < -ScoreMateRange ? 0 : 1;
  if (gives_check(pos, m) || m == hashMove || bestValue < -ScoreMateRange || is_free_pawn_advance(pos, m)) return 1;
  int futile = staticEval + 50 + value_of(CapturedPiece(m));
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
  HashEntry entry;
  bool hit = table_probe(pos.HashKey, entry);
  int tableScore = score_from_table(entry.score, ply);
  if (!pvNode && hit && entry.bound != BoundNone && entry.score != ScoreNone && entry.depth == tableDepth &&
      (((entry.bound & BoundLower) && tableScore >= beta) || ((entry.bound & BoundUpper) && tableScore < beta)))
    return tableScore;

  const int entryAlpha = alpha;
  int staticEval = ScoreNone, bestValue = -ScoreInfinite;
  if (!inCheck) {
    staticEval = hit && entry.staticEval != ScoreNone ? entry.staticEval : evaluate_at(th, pos, ply);
    // Standing pat: the side to move need not capture at all.
    if (staticEval >= beta) return staticEval;
    bestValue = staticEval;
    if (pvNode) alpha = std::max(alpha, staticEval);
  }

  Move bestMove = 0;
  int moveCount = 0;
  MovePicker picker;
  picker_start_captures(picker, entry.move, inCheck);
  while (Move m = next_move(pos, picker)) {
    moveCount++;
    int test = needs_exchange_test(pos, m, entry.move, inCheck, staticEval, alpha, bestValue);
    if (test < 0 || (test > 0 && see(pos, m) < 0)) continue;
    play_move(th, pos, m, ply);
    int v = -quiesce(th, pos, -beta, -alpha, ply + 1, pvNode);
    take_back(pos, m, ply);
    if (search_stopped(th)) return 0;
    if (v > bestValue) {
      bestValue = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) {
          table_store(pos.HashKey, BoundLower, score_to_table(v, ply), m, tableDepth, staticEval);
          return v;
        }
        if (pvNode) alpha = v;
      }
    }
  }
  if (inCheck && moveCount == 0) return mated_in(ply);
  table_store(pos.HashKey, bestValue > entryAlpha ? BoundExact : BoundUpper, score_to_table(bestValue, ply), bestMove,
              tableDepth, staticEval);
  return bestValue;
}
