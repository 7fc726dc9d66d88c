#include <cstring>

#include "egtb/tablebase.h"
#include "platform/platform.h"
#include "search/history.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/time.h"
#include "search/tt.h"
#include "uci/console.h"
#include "uci/options.h"
#include "uci/report.h"

namespace {

void clear_search_state() {
  for (SearchStack& ss : Search.stacks) clear_stack(ss);
  Search.currLineCounter = 0;
  memset(Search.PrincipalVariation, 0, sizeof Search.PrincipalVariation);
  clear_ordering_tables();
}

// After an infinite or pondering search the answer waits for "stop", or for
// "ponderhit" and the clock.
void wait_for_stop() {
  while (!Search.stopFlag.load(std::memory_order_relaxed)) {
    if (!Time.infinite && Search.rootBestMove && elapsed_ms() >= Time.limit)
      Search.stopFlag.store(true, std::memory_order_relaxed);
    else if (input_waiting())
      handle_search_input();
    else if (input_closed())
      quit_program();  // the interface is gone: nobody will ever send "stop"
    else
      pause_briefly();
  }
}

}  // namespace

void init_search() {
  init_search_tables();
  tt_init();
}

void go_search(Position& pos) {
  Time.startMs = uint32_t(now_ms());
  allocate_time(pos);
  clear_search_state();
  if (Options.tablebaseInitPending) {
    Tablebases.available = init_tablebases();
    Options.tablebaseInitPending = false;
  }
  if (!TT.entries) tt_init();
  tt_new_search();
  for (auto& n : Search.nodes) n.store(0, std::memory_order_relaxed);
  Search.stopFlag.store(false, std::memory_order_relaxed);
  Search.selDepth = 0;
  Tablebases.hits = 0;
  Search.rootSide = pos.SideToMove;
  Search.maxDepth = Time.depthLimit;

  think(pos);

  if (Time.infinite) wait_for_stop();
  Move answer = Search.PrincipalVariation[0];
  // A search stopped before its first root move was done still owes a legal answer.
  if (!answer && Search.RootMoves.count > 0) answer = Search.RootMoves.moves[1].move;
  bestmove_line(pos, answer);
}
