#include <algorithm>
#include <cstdio>

#include "board/movetext.h"
#include "engine/principal_variation.h"
#include "engine/search_limits.h"
#include "platform/platform.h"
#include "search/history.h"
#include "search/hooks.h"
#include "search/limits.h"
#include "search/margins.h"
#include "search/picker.h"
#include "search/score.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/see.h"
#include "search/threads.h"
#include "search/time.h"
#include "search/tt.h"
#include "syzygy/syzygy.h"

namespace classic {
namespace {
constexpr int MaxIterations = 100;
constexpr int EasyMoveDepth = 12;
// The root move and its continuation never go deeper than the undo stack.
constexpr int MaxPvLength = MaxPly - 1;

bool stopped() { return stop_requested(); }

// While the endgame tables know the root, the score shown is theirs (the root is ply 1).
int shown_score(Move rootMove, int score) { return syzygy_root_report(rootMove, score, 1, draw_score(true)); }

void report_iteration(int score, int bound, int depth, int multipvIndex) {
  if (Reports.iteration)
    Reports.iteration(shown_score(Search.PrincipalVariation[0], score), bound, depth, multipvIndex);
}

// The move "bestmove" will name, with the continuation read from the table.
void report_move(Position& pos, Move move) { pv_from_table(TT, pos, move, Search.PrincipalVariation, MaxPvLength); }

// With MultiPV above 1, the best lines of the pass in progress.
RootLines PassLines;

// The lines shown: the first is the one "bestmove" will name.
void show_lines(const RootLines& lines) {
  Search.Lines = lines;
  copy_moves(Search.PrincipalVariation, lines.line[0].pv, MaxPly);
  if (Reports.lines) Reports.lines(lines);
}

// A root move searched with the full window takes its place among the pass's
// lines. An interface reads "multipv k" as the k-th best line, so the lines are
// shown, in order, once the pass has as many as were asked for, and again
// whenever a later move enters them.
void rank_root_move(Position& pos, Move move, int v, int depth, int wanted) {
  RootLine line;
  line.tier = syzygy_root_rank(move);
  line.shownScore = shown_score(move, v);
  line.score = v;
  line.depth = depth;
  line.selDepth = Search.selDepth;
  pv_from_table(TT, pos, move, line.pv, MaxPvLength);
  if (rank_line(PassLines, wanted, line) && PassLines.count == wanted) show_lines(PassLines);
}

void answer_without_search(Move move, int score) {
  Search.rootBestMove = move;
  Search.rootBestScore = score;
  Search.PrincipalVariation[0] = move;
  report_iteration(score, ReportExact, 1, 1);
}

// The widened aspiration bound after a fail high (sign 1) or a fail low (sign -1).
int widened(int score, int delta, int sign) {
  int next = score + sign * delta;
  bool inside = sign > 0 ? score < SCORE_MATE_RANGE && next < SCORE_INFINITE
                         : score > -SCORE_MATE_RANGE && next > -SCORE_INFINITE;
  return inside ? next : sign * SCORE_INFINITE;
}

// Late in a long search a falling score earns the move more time, once.
void extend_time_on_fail_low(int depth, uint32_t limit) {
  if (Time.infinite || depth <= 16 || Search.lowTime || Search.rootBestScore >= -80) return;
  uint32_t elapsed = elapsed_ms();
  if (int64_t(Time.sideTime) - 2 * int64_t(limit) > 60000 && elapsed >= limit / 2 && elapsed < 2 * limit &&
      Time.limit < 2 * limit)
    Time.limit = 2 * limit;
}

// No other move comes within 200 of the best one: more depth will not change it.
bool easy_move(Position& pos, int score) {
  SearchStack& ss = Search.stacks[0];
  ss.excludedMove[2] = Search.rootBestMove;
  ss.skipPruning[2] = 1;
  int v = search_node(pos, score - 201, score - 200, 8, 2, PvNode);
  ss.excludedMove[2] = 0;
  ss.skipPruning[2] = 0;
  return !stopped() && v < score - 200;
}

// Weakened play: the answer waits for the clock (or the interface) as if the
// engine had been thinking all along.
// Without a clock (a depth, a node count, or an infinite search, which waits for
// "stop" anyway) there is nothing to wait for.
void wait_for_play_level() {
  if (!Time.clocked || Time.infinite) return;
  while (!input_waiting() && elapsed_ms() < Time.limit) {
    if (input_closed()) break;
    pause_briefly();
  }
}

// After an iteration: true when the search should end early.
bool ends_early(Position& pos, int depth) {
  int score = Search.rootBestScore;
  if (depth == EasyMoveDepth && !Time.infinite && Search.rootBestMove) {
    if (score > SCORE_MATE - 13) {
      if (BoardConfig.debugInfo) printf("info string early exit (mate)\n");
      return true;
    }
    if (abs_score(score) < 2000) {
      bool easy = easy_move(pos, score);
      if (stopped()) return true;
      if (easy) {
        if (BoardConfig.debugInfo) printf("info string early exit (easy move)\n");
        return true;
      }
    }
  }
  if (SearchConfig.usePlayLevel && Search.rootBestMove && depth >= SearchConfig.playLevel) {
    wait_for_play_level();
    if (BoardConfig.debugInfo) printf("info string early exit by play level, searched depth = %d\n", depth);
    return true;
  }
  return false;
}
}  // namespace

void root_search(Position& pos, int alpha, int beta, int depth) {
  MoveList& moves = Search.RootMoves;
  const int passAlpha = alpha;
  const int multiPV = SearchConfig.multiPV;
  Search.rootBestScore = -SCORE_INFINITE;
  PassLines.count = 0;
  count_node(0);
  if (Search.rootBestMove) {
    mark_best_root_move(moves, Search.rootBestMove);
    pv_to_table(TT, pos, Search.rootBestMove, Search.PrincipalVariation, MaxPvLength);
  }

  for (int i = 1; i <= moves.count; i++) {
    const Move move = moves.moves[i].move;
    Search.stacks[0].currentMove[1] = move;
    if (Reports.currentMove) Reports.currentMove(depth, i, move);

    const bool givesCheck = gives_check(pos, move);
    const int seeValue = PromotionPiece(move) || EpCapture(move) ? 0 : see(pos, move);
    int newDepth = depth - 1, r = 0;
    if (givesCheck && seeValue >= 0) {
      newDepth = depth;
    } else if (i >= 2 && move != Search.rootBestMove) {
      if (CapturedPiece(move) && !EpCapture(move) && !PromotionPiece(move) && seeValue < 0)
        r = 1;
      else if (!is_tactical(move))
        r = LmrReduction[1][std::min(depth, 63)][std::min(i, 63)];
    }
    const int reducedDepth = std::max(newDepth - r, 0);

    make_move(pos, move, 1);
    int v;
    if (multiPV > 1) {
      alpha = -SCORE_INFINITE;
      beta = SCORE_INFINITE;
      v = -search_node(pos, -beta, -alpha, newDepth, 2, PvNode);
    } else if (i == 1) {
      v = -search_node(pos, -beta, -alpha, newDepth, 2, PvNode);
    } else {
      bool done = false;
      if (depth >= 3 && r > 0) {
        v = -search_node(pos, -alpha - 1, -alpha, reducedDepth, 2, CutNode);
        done = v <= alpha || stopped();
      }
      if (!done) {
        v = -search_node(pos, -alpha - 1, -alpha, newDepth, 2, CutNode);
        if (v > alpha && v < beta && !stopped()) v = -search_node(pos, -beta, -alpha, newDepth, 2, PvNode);
      }
    }
    unmake_move(pos, move, 1);
    if (stopped()) break;
    moves.moves[i].score = v >= beta ? beta : v > alpha ? v : passAlpha;

    if (multiPV > 1) {
      if (v > Search.rootBestScore) {
        Search.rootBestMove = move;
        Search.rootBestScore = v;
      }
      rank_root_move(pos, move, v, depth, std::min(multiPV, moves.count));
      continue;
    }
    if (i == 1 && v <= alpha) {
      Search.rootBestScore = alpha;
      Search.rootBestMove = move;
      report_move(pos, move);
      report_iteration(alpha, ReportUpper, depth, 1);
      return;
    }
    if (v > Search.rootBestScore) {
      Search.rootBestScore = v;
      if (v > alpha) {
        Search.rootBestMove = move;
        if (v >= beta) {
          Search.rootBestScore = beta;
          report_move(pos, move);
          report_iteration(beta, ReportLower, depth, 1);
          return;
        }
        report_move(pos, move);
        alpha = v;
        report_iteration(v, ReportExact, depth, 1);
      }
    }
  }
  // Stopped before any lines were shown: the best move searched so far answers.
  if (multiPV > 1 && !Search.Lines.count && Search.rootBestMove) report_move(pos, Search.rootBestMove);
}

void think(Position& pos) {
  MoveList& moves = Search.RootMoves;
  generate_legal(pos, moves);
  restrict_root_moves(moves);
  syzygy_search_start(pos, moves, 1);
  if (moves.count == 0) {
    answer_without_search(0, in_check(pos) ? mated_in(1) : 0);
    return;
  }
  if (moves.count == 1) {
    answer_without_search(moves.moves[1].move, 0);
    return;
  }
  // The book knows nothing of "searchmoves", and less than the endgame tables.
  if (Move bookMove = Hooks.bookMove && !Limits.searchMoveCount && !Syzygy.rootKnown ? Hooks.bookMove(pos) : 0) {
    answer_without_search(bookMove, 0);
    if (BoardConfig.debugInfo) printf("info string book move %s , best score = %d\n", move_text(bookMove).c_str(), 0);
    return;
  }

  score_root_moves(pos, moves);
  wake_helpers(Pool);
  const uint32_t limit = Time.limit;
  Search.maxDepth = std::min(Search.maxDepth, MaxIterations);
  Search.rootBestMove = 0;
  Search.rootBestScore = -SCORE_INFINITE;
  int previous = -SCORE_INFINITE;

  for (int depth = 1; depth <= Search.maxDepth; depth++) {
    int delta = SCORE_INFINITE, alpha = -SCORE_INFINITE, beta = SCORE_INFINITE;
    if (SearchConfig.multiPV == 1 && depth > 4 && abs_score(previous) < SCORE_DECISIVE) {
      delta = 8;
      alpha = std::max(previous - delta, -SCORE_INFINITE);
      beta = std::min(previous + delta, SCORE_INFINITE);
    }
    Search.tbProbePlyLimit = depth;
    Search.selDepth = depth;
    root_search(pos, alpha, beta, depth);
    if (stopped()) break;

    // Outside the aspiration window: widen the failing side and search again.
    int score = Search.rootBestScore;
    while (abs_score(score) < SCORE_DECISIVE && (score <= alpha || score >= beta)) {
      tally(0, CountAspirationFails);
      if (score >= beta) {
        beta = widened(score, delta, 1);
      } else {
        alpha = widened(score, delta, -1);
        extend_time_on_fail_low(depth, limit);
      }
      root_search(pos, alpha, beta, depth);
      if (stopped()) break;
      delta += delta / 2;
      score = Search.rootBestScore;
    }
    if (stopped()) break;

    if (SearchConfig.multiPV > 1) {
      show_lines(PassLines);
    } else if (Search.rootBestMove) {
      report_move(pos, Search.rootBestMove);
      report_iteration(Search.rootBestScore, ReportExact, depth, 1);
    }
    if (ends_early(pos, depth)) break;
    previous = Search.rootBestScore;
  }

  park_helpers(Pool);
  // With several lines, a search stopped within a pass answers with the first
  // line shown, and learns it.
  if (SearchConfig.multiPV > 1 && Search.Lines.count) {
    Search.rootBestMove = Search.Lines.line[0].pv[0];
    Search.rootBestScore = Search.Lines.line[0].score;
  }
  print_search_counters(thread_count());
  if (Hooks.learn) Hooks.learn(pos, Search.rootBestMove, Search.rootBestScore, Search.tbProbePlyLimit);
}
}  // namespace classic
