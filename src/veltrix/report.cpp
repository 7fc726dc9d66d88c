#include "veltrix/report.h"

#include <cstdio>

#include "board/movetext.h"
#include "protocol/search_line.h"
#include "syzygy/syzygy.h"
#include "veltrix/engine_options.h"
#include "veltrix/hash_table.h"
#include "veltrix/search_state.h"
#include "veltrix/time.h"

namespace veltrix {
namespace {
constexpr uint64_t CurrMoveDelayMs = 1000;

// The win/draw/loss model fitted to 320 of this engine's own games at 10+0.1
// (scripts/wdl-calibrate.sh): the network's scores grow large in endgames that
// are still drawn, so a win needs a larger score there than with much material.
constexpr WdlModel VeltrixWdl{{907.86, -2525.09, 2666.67, -922.62}, {338.00, -983.17, 1113.09, -385.24}};

// The fields every line of the moment shares.
SearchLine search_so_far() {
  SearchLine line;
  line.nodes = total_nodes();
  line.ms = elapsed_ms();
  // Only with Syzygy tables open: without them the line keeps its usual form.
  line.showTbhits = Syzygy.largest != 0;
  line.tbhits = Syzygy.hits;
  if (Engine.showWdl) {
    line.wdlModel = &VeltrixWdl;
    line.material = Search.rootMaterial;
    line.settledResult = Search.rootSettledResult;
  }
  return line;
}
}  // namespace

int shown_score(Move rootMove, int score) { return syzygy_root_report(rootMove, score, 0, 0); }

void search_line(int score, int bound, int multipv) {
  if (Search.reportsOff || multipv > Search.linesShown) return;
  SearchLine line = search_so_far();
  line.depth = Search.iterationDepth;
  line.selDepth = Search.selDepth;
  line.multipv = Search.linesShown > 1 ? multipv : 0;
  line.score = shown_score(Search.pv[0], score);
  line.bound = bound;
  line.pv = Search.pv;
  print_search_line(line);
}

void ranked_lines(const RootLines& lines) {
  if (!Search.reportsOff) print_ranked_lines(lines, search_so_far(), Search.linesShown);
}

void line_played(const RootLine& played) {
  if (Search.reportsOff || Search.linesShown > 1) return;
  print_search_line(line_of(played, search_so_far()));
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
