#include <cstdlib>
#include <cstring>

#include "egtb/tablebase.h"
#include "engine/principal_variation.h"
#include "eval/eval_cache.h"
#include "platform/platform.h"
#include "search/history.h"
#include "search/hooks.h"
#include "search/limits.h"
#include "search/margins.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/threads.h"
#include "search/time.h"
#include "search/tt.h"

namespace classic {
namespace {
void clear_search_state() {
  for (SearchStack& ss : Search.stacks) clear_stack(ss);
  Search.currLineCounter = 0;
  memset(Search.PrincipalVariation, 0, sizeof Search.PrincipalVariation);
  Search.Lines.count = 0;
  clear_ordering_tables();
}

// After an infinite or pondering search the answer waits for "stop", or for
// "ponderhit" and the clock.
void wait_for_stop() {
  while (!stop_requested()) {
    if (!Time.infinite && Search.rootBestMove && elapsed_ms() >= Time.limit)
      Signals.stop.store(true, std::memory_order_relaxed);
    else if (input_waiting())
      handle_search_input();
    else if (input_closed())
      request_quit();  // the interface is gone: nobody will ever send "stop"
    else
      pause_briefly();
  }
}

// What the root settles itself: a dead draw, or the Gaviota tables' verdict, which
// a draw score alone cannot tell from the search's own draws.
int root_settled_result(const Position& pos) {
  const int settled = settled_result(pos);
  if (settled != Unsettled) return settled;
  int score;
  if (!SearchConfig.useTablebases || !Tablebases.available || popcount(pos.occupied()) > Tablebases.maxPieces ||
      !tablebase_probe(pos, 1, true, score))
    return Unsettled;
  return score > SCORE_MATE_RANGE ? 1 : score < -SCORE_MATE_RANGE ? -1 : 0;
}
}  // namespace

void init_search() {
  init_search_tables();
  TT.defer(TableDefaultMegabytes);
  defer_eval_caches();
}

void go_search(Position& pos) {
  // Before the clock starts: the first search may have to take the tables' memory.
  allocate_tables();
  Time.startMs = uint32_t(now_ms());
  allocate_time(pos);
  clear_search_state();
  if (Hooks.prepare) Hooks.prepare();
  TT.new_search();
  for (auto& n : Search.nodes) n.count.store(0, std::memory_order_relaxed);
  Signals.stop.store(false, std::memory_order_relaxed);
  Search.selDepth = 0;
  Tablebases.hits = 0;
  Search.rootSide = pos.SideToMove;
  Search.rootMaterial = wdl_material(pos);
  Search.rootSettledResult = root_settled_result(pos);
  Search.maxDepth = Time.depthLimit;

  think(pos);

  if (Time.infinite) wait_for_stop();
  if (Signals.quitRequested) quit_program();
  Move answer = Search.PrincipalVariation[0];
  // A search stopped before its first root move was done still owes a legal answer.
  if (!answer && Search.RootMoves.count > 0) answer = Search.RootMoves.moves[1].move;
  Move ponder = answer ? ponder_move(TT, pos, answer, Search.PrincipalVariation[1]) : 0;
  if (Reports.bestMove) Reports.bestMove(answer, ponder);
  if (answer) make_move(pos, answer, 1);
}

void quit_program() {
  stop_helpers(Pool);
  TT.release();
  release_eval_caches();
  exit(0);
}
}  // namespace classic
