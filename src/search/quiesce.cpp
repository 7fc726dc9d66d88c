#include <algorithm>

#include "board/movegen.h"
#include "engine/pruning.h"
#include "eval/evaluate.h"
#include "search/margins.h"
#include "search/score.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/see.h"
#include "search/tt.h"

namespace classic {
namespace {
// A capture that reaches the fifth rank or beyond with no enemy pawn to stop it is
// never delta-pruned.
constexpr int FreePawnRank = 4;
}  // namespace

int quiesce(Position& pos, int alpha, int beta, int qdepth, int ply, bool pvNode) {
  if (ply > QuiesceMaxPly) return alpha;
  const int thread = pos.ThreadSlot;
  count_node(thread);
  if (insufficient_material(pos)) return draw_score(pos.SideToMove == Search.rootSide);

  const int entryAlpha = alpha;
  alpha = std::max(alpha, mated_in(ply));
  beta = std::min(beta, SCORE_MATE - 1 - ply);
  if (alpha >= beta) return alpha;

  const bool inCheck = in_check(pos);
  // A check evasion right at the horizon counts as a little deeper than the rest.
  const int ttDepth = qdepth >= 0 && inCheck ? 0 : -1;
  TableHit tt;
  tt.probe(TT, pos.HashKey, ply);
  if (!pvNode && tt.cuts(ttDepth, beta)) return tt.score;
  const Move hashMove = tt.entry.move;

  int bestValue = -SCORE_INFINITE, standPat = SCORE_NONE;
  if (!inCheck) {
    standPat = evaluate(pos, alpha, beta, pvNode ? 0 : 1);
    if (standPat >= beta) {
      if (tt.found) TT.store(pos.HashKey, BOUND_LOWER, score_to_table(standPat, ply), 0, ttDepth, SCORE_NONE);
      return standPat;
    }
    bestValue = standPat;
    if (pvNode) alpha = std::max(alpha, standPat);
  }

  MovePicker& picker = Search.pickers[thread][ply];
  picker_start(picker, inCheck ? CaptureEvasionHash : CaptureHash);
  Move bestMove = 0;
  bool anyMove = false;
  while (Move m = next_capture(pos, picker, hashMove)) {
    anyMove = true;
    const bool prunable = !gives_check(pos, m) && m != hashMove && !PromotionPiece(m) && !EpCapture(m);
    // Delta pruning: even winning the piece for free would not reach alpha.
    if (!pvNode && !inCheck && prunable && bestValue > -SCORE_MATE_RANGE &&
        !is_free_pawn_advance(pos, m, FreePawnRank)) {
      int optimistic = standPat + see_value_of(CapturedPiece(m)) + DeltaMargin;
      if (optimistic <= alpha) {
        bestValue = std::max(bestValue, optimistic);
        continue;
      }
    }
    // A move that loses material in the exchange is worth less than standing pat
    // (or than the evasion already searched): passed over, it changes nothing.
    if (prunable && (!inCheck || (!CapturedPiece(m) && bestValue > -SCORE_MATE_RANGE)) && see(pos, m) < 0) continue;
    make_move(pos, m, ply);
    int v = -quiesce(pos, -beta, -alpha, qdepth - 1, ply + 1, pvNode);
    unmake_move(pos, m, ply);
    if (v > bestValue) {
      bestValue = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) break;
        if (pvNode) alpha = v;
      }
    }
  }
  if (!anyMove && inCheck) return mated_in(ply);

  int bound = bestValue >= beta ? BOUND_LOWER : bestValue > entryAlpha ? BOUND_EXACT : BOUND_UPPER;
  TT.store(pos.HashKey, bound, score_to_table(bestValue, ply), bestMove, ttDepth, SCORE_NONE);
  return bestValue;
}
}  // namespace classic
