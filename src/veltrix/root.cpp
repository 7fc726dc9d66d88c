// The root of veltrix's search: one pass over the root moves per call, and the
// iterative deepening with aspiration windows around it.
#include <algorithm>

#include "engine/principal_variation.h"
#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/history.h"
#include "veltrix/picker.h"
#include "veltrix/report.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/see.h"
#include "veltrix/time.h"

namespace veltrix {
namespace {
// The best move and its continuation never go deeper than the search does.
constexpr int MaxPvLength = MaxSearchPly - 1;

bool stopped() { return stop_requested(); }

void pv_from_table(Position& root) { ::pv_from_table(TT, root, Search.pv[0], Search.pv, MaxPvLength); }

// The previous pass's best move goes first; the moves that looked as good before
// come right after it.
void put_best_move_first(MoveList& moves, Move best) {
  for (int i = 1; i <= moves.count; i++) {
    if (moves.moves[i].move == best)
      moves.moves[i].score = 1000000;
    else if (moves.moves[i].score >= 1000000)
      moves.moves[i].score = 900000;
  }
  sort_moves(moves, 1, moves.count);
}

// A root move after the first: searched with a null window (reduced when quiet),
// and with the full window only when it beats alpha.
int search_later_move(SearchThread& th, Position& root, Move m, int moveNumber, int alpha, int beta, int depth,
                      int newDepth, bool givesCheck) {
  if (depth >= 3 && is_quiet(m) && !givesCheck) {
    int r = base_reduction(depth, moveNumber, false) + (history_of(m) < 0 ? 1 : 0);
    int v = -search_node(th, root, -alpha - 1, -alpha, std::max(newDepth - r, 1), 1, AllNode);
    if (v > alpha && r >= 4 && !stopped()) v = -search_node(th, root, -alpha - 1, -alpha, newDepth - 2, 1, AllNode);
    if (v <= alpha || stopped()) return v;
  }
  int v = -search_node(th, root, -alpha - 1, -alpha, newDepth, 1, AllNode);
  if (v > alpha && v < beta && !stopped()) v = -search_node(th, root, -beta, -alpha, newDepth, 1, PvNode);
  return v;
}

// Losing, with plenty of time left on the clock: think longer before settling.
void extend_time_when_losing(int depth, int previousScore) {
  const ClockRecord& c = Clock;
  if (Engine.pondering || depth < 13 || Search.lowTime || previousScore > -80) return;
  if (int64_t(c.sideTime) - c.maximum > 10000 && c.allotted < c.maximum && elapsed_ms() >= uint64_t(c.allotted / 2))
    Clock.allotted = Clock.maximum;
}

struct Window {
  int alpha, beta, step;
};

// A narrow window around the previous score once the scores have settled.
Window aspiration_window(int depth, int previousScore) {
  if (depth >= 5 && abs_score(previousScore) < SCORE_DECISIVE)
    return {std::max(previousScore - AspirationWindow, -SCORE_INFINITE),
            std::min(previousScore + AspirationWindow, SCORE_INFINITE), AspirationWindow};
  return {-SCORE_INFINITE, SCORE_INFINITE, SCORE_INFINITE};
}

// One iteration: the root search, widened on the failing side until the score
// lies inside the window. False when the search was stopped.
bool search_iteration(Position& root, int depth) {
  Window w = aspiration_window(depth, Search.rootScore);
  extend_time_when_losing(depth, Search.rootScore);
  int score = root_search(root, w.alpha, w.beta, depth);
  if (stopped()) return false;
  Search.rootScore = score;
  while (abs_score(score) < SCORE_DECISIVE && (score <= w.alpha || score >= w.beta)) {
    bool failLow = score <= w.alpha;
    tally(0, CountAspirationFails);
    pv_from_table(root);
    search_line(score, failLow ? ReportUpper : ReportLower);
    if (failLow)
      w.alpha = std::max(score - w.step, -SCORE_INFINITE);
    else
      w.beta = std::min(score + w.step, SCORE_INFINITE);
    w.step += w.step / 2;
    score = root_search(root, w.alpha, w.beta, depth);
    if (stopped()) return false;
    Search.rootScore = score;
  }
  if (Search.pv[0]) {
    pv_from_table(root);
    search_line(score, ReportExact);
  }
  return true;
}
}  // namespace

int root_search(Position& root, int alpha, int beta, int depth) {
  SearchThread& th = SearchThreads[0];
  MoveList& moves = Search.rootMoves;
  const int passAlpha = alpha;
  count_node(th);
  if (Search.pv[0]) {
    put_best_move_first(moves, Search.pv[0]);
    pv_to_table(TT, root, Search.pv[0], Search.pv, MaxPvLength);
  }

  int best = -SCORE_INFINITE;
  for (int i = 1; i <= moves.count; i++) {
    const Move m = moves.moves[i].move;
    currmove_line(depth, i, m);
    const bool givesCheck = gives_check(root, m);
    const int newDepth = depth - 1 + (givesCheck && see(root, m) >= 0 ? 1 : 0);
    play_move(th, root, m, 0);
    int v = i == 1 ? -search_node(th, root, -beta, -alpha, newDepth, 1, PvNode)
                   : search_later_move(th, root, m, i, alpha, beta, depth, newDepth, givesCheck);
    take_back(root, m, 0);
    if (stopped()) break;

    moves.moves[i].score = v >= beta ? beta : v > alpha ? v : passAlpha;
    if (i == 1 && v <= alpha) return alpha;
    if (v > best) {
      best = v;
      if (v > alpha) {
        Search.pv[0] = m;
        Search.pv[1] = 0;  // the continuation of the earlier best move is no longer it
        if (v >= beta) return beta;
        alpha = v;
      }
    }
  }
  return best;
}

void iterate(Position& root) {
  for (int depth = 1;; depth++) {
    Search.iterationDepth = Search.selDepth = depth;
    if (!search_iteration(root, depth) || stopped() || depth >= Engine.depthLimit) return;
  }
}
}  // namespace veltrix
