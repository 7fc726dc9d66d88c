// A search from "go" to "bestmove".
#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "engine/principal_variation.h"
#include "engine/search_limits.h"
#include "engine/wdl.h"
#include "syzygy/syzygy.h"
#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/history.h"
#include "veltrix/picker.h"
#include "veltrix/report.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/strength.h"
#include "veltrix/threads.h"
#include "veltrix/time.h"

namespace veltrix {
namespace {
// The score reported when the root has no legal move: mated (as one ply into the
// line) or stalemated.
constexpr int RootMatedScore = -31999;

void clear_search_records(const Position& root) {
  Signals.stop.store(false, std::memory_order_relaxed);
  Search.budgetSpent = false;
  for (SearchThread& th : SearchThreads) {
    memset(&th.stack, 0, sizeof th.stack);
    th.nodes.store(0, std::memory_order_relaxed);
    reset_line(th);
  }
  history_clear();
  TT.new_search();
  Search.rootSide = root.SideToMove;
  Search.rootMaterial = wdl_material(root);
  Search.rootSettledResult = settled_result(root);
  memset(Search.pv, 0, sizeof Search.pv);
  Search.lines.count = 0;
  Search.rootScore = -SCORE_INFINITE;
  Search.iterationDepth = Search.selDepth = 1;
}

void order_root_moves(const Position& root, MoveList& moves) {
  for (int i = 1; i <= moves.count; i++) moves.moves[i].score = root_score(root, moves.moves[i].move);
  sort_moves(moves, 1, moves.count);
  // The endgame tables' better ranks first: each line is chosen among the best
  // rank left.
  if (Syzygy.rootKnown)
    std::stable_sort(moves.moves + 1, moves.moves + moves.count + 1, [](const MoveEntry& a, const MoveEntry& b) {
      return syzygy_root_rank(a.move) > syzygy_root_rank(b.move);
    });
}

// A search that ended before its answer is due waits: a pondering or infinite
// search for "stop", or for "ponderhit" and then until `due` (milliseconds of the
// search); a limited player, which has a `pause`, until `due` as well.
void wait_for_answer(uint64_t due, bool pause) {
  if (!Engine.pondering && !pause) return;
  while (!stop_requested()) {
    if (!Engine.pondering && (!Search.pv[0] || elapsed_ms() >= due)) return;
    poll_search();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
}  // namespace

void start_search(Position& root, int lines, int shown) {
  // Before the clock starts: the first search may have to take the table's memory.
  allocate_table();
  clear_search_records(root);
  allocate_time(root);
  MoveList& moves = Search.rootMoves;
  generate_legal(root, moves);
  restrict_root_moves(moves);
  syzygy_search_start(root, moves, lines);
  Search.linesAsked = lines;
  Search.linesShown = std::min(lines, shown);
  if (moves.count <= 1) {
    // Nothing to think about: the only move, or none.
    Search.pv[0] = moves.count ? moves.moves[1].move : 0;
    Search.rootScore = moves.count ? 0 : in_check(root) ? RootMatedScore : 0;
    search_line(Search.rootScore, ReportExact, lines > 1 ? 1 : 0);
    return;
  }
  order_root_moves(root, moves);
  wake_helpers(Pool);
  iterate(root);
  park_helpers(Pool);
  print_search_counters(thread_count());
}

void go_search(Position& game) {
  const bool limited = strength_limited();
  const PlayLevel level = play_level(Engine.playElo);
  Search.nodeBudget = limited ? level.nodes : 0;
  start_search(game, limited ? std::max(level.lines, Engine.multiPV) : Engine.multiPV, Engine.multiPV);
  uint64_t due = uint64_t(Clock.allotted);
  if (limited) {
    due = settle_on_line(level);
    // The nodes spent, the pause before the answer still reads "stop",
    // "ponderhit" and "quit".
    if (Search.budgetSpent) Signals.stop.store(false, std::memory_order_relaxed);
  }
  wait_for_answer(due, limited);
  quit_when_requested();
  // A search stopped before its first root move was done still owes a legal answer.
  if (!Search.pv[0] && Search.rootMoves.count > 0) Search.pv[0] = Search.rootMoves.moves[1].move;
  Move best = Search.pv[0];
  Move ponder = Engine.ponderOption && !Engine.pondering && best ? ponder_move(TT, game, best, Search.pv[1]) : 0;
  bestmove_line(best, ponder);
  if (best) make_move(game, best, 1);
}
}  // namespace veltrix
