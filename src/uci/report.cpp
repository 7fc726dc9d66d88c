// What the search writes while it runs and when it ends, in the UCI form or, before
// "uci" was received, in the console form.
#include <cinttypes>
#include <cstdio>

#include "board/movetext.h"
#include "egtb/tablebase.h"
#include "protocol/uci_session.h"
#include "search/hooks.h"
#include "search/limits.h"
#include "search/search_state.h"
#include "search/time.h"
#include "search/tt.h"
#include "syzygy/syzygy.h"
#include "uci/front_end.h"

namespace classic {
namespace {
constexpr uint32_t CurrMoveDelayMs = 1000;

// The search-output switch: the tools turn it off to keep the reports quiet. It is
// the same switch that lets the board core print move sequences.
bool search_output() { return BoardConfig.sequenceOutput; }

// Positions answered by either kind of endgame table.
uint64_t tablebase_hits() { return Tablebases.hits + Syzygy.hits; }

void info_line(int score, int bound, int depth, int multipvIndex) {
  uint64_t nodes = total_nodes();
  uint32_t elapsed = elapsed_ms();
  const uint64_t nps = nodes_per_second(nodes, elapsed);
  if (FrontEnd.uciMode) {
    printf("info depth %d seldepth %d multipv %d score ", depth, Search.selDepth, multipvIndex);
    print_score(score);
    if (bound == ReportUpper) printf("upperbound ");
    if (bound == ReportLower) printf("lowerbound ");
    printf("nodes %" PRIu64 " nps %" PRIu64 " tbhits %" PRIu64 " time %u pv ", nodes, nps, tablebase_hits(), elapsed);
  } else if (search_output()) {
    printf("depth %d/%d time %u nodes %" PRIu64 " nps %" PRIu64 " tb %" PRIu64 "\n", depth, Search.selDepth, elapsed,
           nodes, nps, tablebase_hits());
    print_score(score);
    printf("pv ");
    if (bound == ReportUpper) printf("? ");
    if (bound == ReportLower) printf("! ");
  }
  if (search_output()) {
    print_move_sequence(Search.PrincipalVariation);
    printf("\n");
  }
}

void currmove_line(int depth, int moveNumber, Move move) {
  if (!FrontEnd.uciMode || elapsed_ms() < CurrMoveDelayMs) return;
  printf("info depth %d hashfull %d currmovenumber %d currmove ", depth, TT.hashfull(), moveNumber);
  print_move(move);
  if (search_output()) printf("\n");
}

void currline_line(const SearchStack& ss, int ply) {
  if (!FrontEnd.uciMode) return;
  printf("info currline ");
  for (int i = 1; i <= ply && i <= 10; i++) print_move(ss.currentMove[i]);
  printf("\n");
}

// A pondering search that ended by "stop" names no move to ponder on.
void bestmove_line(Move move, Move ponder) {
  if (FrontEnd.uciMode) {
    printf("bestmove ");
    print_move(move);
  } else if (search_output()) {
    printf("move ");
    print_move(move);
  }
  if (FrontEnd.uciMode && FrontEnd.ponder && !Time.infinite && ponder) {
    printf("ponder ");
    print_move(ponder);
  }
  if (search_output()) printf("\n");
}
}  // namespace

void install_reports() { Reports = {info_line, currmove_line, currline_line, bestmove_line}; }
}  // namespace classic
