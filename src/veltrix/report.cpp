#include "veltrix/report.h"

#include <cinttypes>
#include <cstdio>

#include "board/movetext.h"
#include "protocol/uci_session.h"
#include "syzygy/syzygy.h"
#include "veltrix/hash_table.h"
#include "veltrix/score.h"
#include "veltrix/search_state.h"
#include "veltrix/time.h"

namespace veltrix {
namespace {
constexpr uint64_t CurrMoveDelayMs = 1000;
constexpr int PvMovesShown = 10;

}  // namespace

void search_line(int score, int bound) {
  if (Search.reportsOff) return;
  uint64_t nodes = total_nodes(), elapsed = elapsed_ms();
  printf("info depth %d seldepth %d score ", Search.iterationDepth, Search.selDepth);
  // While the endgame tables know the root (ply 0), the score shown is theirs.
  print_score(syzygy_root_report(score, 0, 0));
  if (bound == ReportUpper) printf("upperbound ");
  if (bound == ReportLower) printf("lowerbound ");
  printf("nodes %" PRIu64 " nps %" PRIu64 " ", nodes, nodes_per_second(nodes, elapsed));
  // Only with Syzygy tables open: without them the line keeps its usual form.
  if (Syzygy.largest) printf("tbhits %" PRIu64 " ", Syzygy.hits);
  printf("time %" PRIu64 " pv ", elapsed);
  for (int i = 0; i < PvMovesShown && Search.pv[i]; i++) print_move(Search.pv[i]);
  printf("\n");
}

void currmove_line(int depth, int moveNumber, Move move) {
  if (Search.reportsOff || elapsed_ms() < CurrMoveDelayMs) return;
  printf("info depth %d hashfull %d currmovenumber %d currmove ", depth, TT.hashfull(), moveNumber);
  print_move(move);
  printf("\n");
}

void bestmove_line(Move best, Move ponder) {
  printf("bestmove ");
  print_move(best);
  if (ponder) {
    printf("ponder ");
    print_move(ponder);
  }
  printf("\n");
}
}  // namespace veltrix
