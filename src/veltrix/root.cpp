// The root of veltrix's search: one pass over the root moves per call, and the
// iterative deepening with aspiration windows around it, for one line or several.
#include <algorithm>

#include "engine/principal_variation.h"
#include "syzygy/syzygy.h"
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
void put_best_move_first(MoveList& moves, Move best, RootRange range) {
  for (int i = range.first; i <= range.last; i++) {
    if (moves.moves[i].move == best)
      moves.moves[i].score = 1000000;
    else if (moves.moves[i].score >= 1000000)
      moves.moves[i].score = 900000;
  }
  sort_moves(moves, range.first, range.last);
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

// The root search over the range, widened on the failing side until the score
// lies inside the window, each bound reported as the line `multipv` (0 for the
// only line). The score is worth nothing once the search was stopped.
int aspiration_search(Position& root, int depth, int previousScore, RootRange range, int multipv) {
  Window w = aspiration_window(depth, previousScore);
  int score = root_search(root, w.alpha, w.beta, depth, range);
  if (stopped()) return score;
  Search.rootScore = score;
  while (abs_score(score) < SCORE_DECISIVE && (score <= w.alpha || score >= w.beta)) {
    bool failLow = score <= w.alpha;
    tally(0, CountAspirationFails);
    pv_from_table(root);
    search_line(score, failLow ? ReportUpper : ReportLower, multipv);
    if (failLow)
      w.alpha = std::max(score - w.step, -SCORE_INFINITE);
    else
      w.beta = std::min(score + w.step, SCORE_INFINITE);
    w.step += w.step / 2;
    score = root_search(root, w.alpha, w.beta, depth, range);
    if (stopped()) return score;
    Search.rootScore = score;
  }
  return score;
}

// One iteration of the only line. False when the search was stopped.
bool search_iteration(Position& root, int depth) {
  extend_time_when_losing(depth, Search.rootScore);
  int score = aspiration_search(root, depth, Search.rootScore, {1, Search.rootMoves.count}, 0);
  if (stopped()) return false;
  if (Search.pv[0]) {
    pv_from_table(root);
    search_line(score, ReportExact, 0);
  }
  return true;
}

// While the endgame tables know the root, the moves of each rank stand together,
// the best rank first, and every line is chosen among the best rank left.
int tier_of(Move m) { return Syzygy.rootKnown ? syzygy_root_rank(m) : 0; }

RootRange tier_from(const MoveList& moves, int first) {
  const int tier = tier_of(moves.moves[first].move);
  int last = first;
  while (last < moves.count && tier_of(moves.moves[last + 1].move) == tier) last++;
  return {first, last};
}

// The line of the last depth to search first, when one is left in the range: the
// best of them whose move no earlier line of this depth took.
const RootLine* line_to_follow(const MoveList& moves, RootRange range) {
  for (int j = 0; j < Search.lines.count; j++)
    for (int i = range.first; i <= range.last; i++)
      if (moves.moves[i].move == Search.lines.line[j].pv[0]) return &Search.lines.line[j];
  return nullptr;
}

// The move a line chose goes to the head of its range, the others keeping their order,
// so that the next line is chosen among the moves after it.
void take_move(MoveList& moves, Move m, RootRange range) {
  int i = range.first;
  while (i < range.last && moves.moves[i].move != m) i++;
  const MoveEntry taken = moves.moves[i];
  for (; i > range.first; i--) moves.moves[i] = moves.moves[i - 1];
  moves.moves[range.first] = taken;
}

// The lines of the depth being searched, best first.
RootLines DepthLines;

// One depth of several lines: the best line, then the best among the root moves
// left, and so on, each with its own aspiration window around the score its move
// had at the last depth. False when the search was stopped: the lines of the last
// finished depth stand.
bool search_lines(Position& root, int depth) {
  MoveList& moves = Search.rootMoves;
  const int lineCount = std::min(Search.linesAsked, moves.count);
  DepthLines.count = 0;
  for (int j = 0; j < lineCount; j++) {
    const RootRange range = tier_from(moves, j + 1);
    const RootLine* previous = line_to_follow(moves, range);
    Search.pv[0] = 0;
    if (previous) copy_moves(Search.pv, previous->pv, MaxSearchPly);
    const int previousScore = previous ? previous->score : -SCORE_INFINITE;
    if (j == 0) extend_time_when_losing(depth, previousScore);
    Search.selDepth = depth;
    const int score = aspiration_search(root, depth, previousScore, range, j + 1);
    if (stopped()) return false;
    if (!Search.pv[0]) Search.pv[0] = moves.moves[range.first].move;
    pv_from_table(root);
    take_move(moves, Search.pv[0], range);
    RootLine line;
    line.tier = tier_of(Search.pv[0]);
    line.shownScore = shown_score(Search.pv[0], score);
    line.score = score;
    line.depth = depth;
    line.selDepth = Search.selDepth;
    copy_moves(line.pv, Search.pv, MaxPly);
    rank_line(DepthLines, lineCount, line);
  }
  Search.lines = DepthLines;
  copy_moves(Search.pv, Search.lines.line[0].pv, MaxSearchPly);
  Search.rootScore = Search.lines.line[0].score;
  ranked_lines(Search.lines);
  return true;
}
}  // namespace

int root_search(Position& root, int alpha, int beta, int depth, RootRange range) {
  SearchThread& th = SearchThreads[0];
  MoveList& moves = Search.rootMoves;
  const int passAlpha = alpha;
  count_node(th);
  if (Search.pv[0]) {
    put_best_move_first(moves, Search.pv[0], range);
    pv_to_table(TT, root, Search.pv[0], Search.pv, MaxPvLength);
  }

  int best = -SCORE_INFINITE;
  for (int i = range.first; i <= range.last; i++) {
    const Move m = moves.moves[i].move;
    const int moveNumber = i - range.first + 1;
    currmove_line(depth, i, m);
    const bool givesCheck = gives_check(root, m);
    const int newDepth = depth - 1 + (givesCheck && see(root, m) >= 0 ? 1 : 0);
    play_move(th, root, m, 0);
    int v = moveNumber == 1 ? -search_node(th, root, -beta, -alpha, newDepth, 1, PvNode)
                            : search_later_move(th, root, m, moveNumber, alpha, beta, depth, newDepth, givesCheck);
    take_back(root, m, 0);
    if (stopped()) break;

    // With several lines the next line is chosen among the moves that failed low
    // here: each keeps what its search said of it, to go first when it came nearest.
    const bool keepFailLow = Search.linesAsked > 1;
    moves.moves[i].score = v >= beta ? beta : v > alpha || keepFailLow ? v : passAlpha;
    if (moveNumber == 1 && v <= alpha) return alpha;
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
  const bool severalLines = Search.linesAsked > 1;
  for (int depth = 1;; depth++) {
    Search.iterationDepth = Search.selDepth = depth;
    const bool finished = severalLines ? search_lines(root, depth) : search_iteration(root, depth);
    if (!finished || stopped() || depth >= Engine.depthLimit) break;
  }
  // The answer is the first line of the last finished depth or, stopped before
  // the first depth was, the best line found so far.
  const RootLines& standing = Search.lines.count ? Search.lines : DepthLines;
  if (severalLines && standing.count) {
    copy_moves(Search.pv, standing.line[0].pv, MaxSearchPly);
    Search.rootScore = standing.line[0].score;
  }
}
}  // namespace veltrix
