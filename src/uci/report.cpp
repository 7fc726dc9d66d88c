// What the search writes while it runs and when it ends, in the UCI form or, before
// "uci" was received, in the console form.
#include <cinttypes>
#include <cstdio>

#include "board/movetext.h"
#include "egtb/tablebase.h"
#include "protocol/search_line.h"
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

// The win/draw/loss model fitted to 173 of this engine's own games at 10+0.1
// (scripts/wdl-calibrate.sh): its scores mean a surer win than the network engine's.
constexpr WdlModel ClassicWdl{{484.17, -1186.46, 1148.16, -375.18}, {89.57, 18.20, -79.80, 43.35}};

// The search-output switch: the tools turn it off to keep the reports quiet. It is
// the same switch that lets the board core print move sequences.
bool search_output() { return BoardConfig.sequenceOutput; }

// Positions answered by either kind of endgame table.
uint64_t tablebase_hits() { return Tablebases.hits + Syzygy.hits; }

// The fields every line of the moment shares.
SearchLine search_so_far() {
  SearchLine line;
  line.nodes = total_nodes();
  line.ms = elapsed_ms();
  line.showTbhits = true;
  line.tbhits = tablebase_hits();
  if (FrontEnd.showWdl) {
    line.wdlModel = &ClassicWdl;
    line.material = Search.rootMaterial;
    line.settledResult = Search.rootSettledResult;
  }
  return line;
}

// The console form: the figures on a line of their own, then the score and the moves.
void console_line(const SearchLine& line) {
  if (!search_output()) return;
  printf("depth %d/%d time %" PRIu64 " nodes %" PRIu64 " nps %" PRIu64 " tb %" PRIu64 "\n", line.depth, line.selDepth,
         line.ms, line.nodes, nodes_per_second(line.nodes, line.ms), line.tbhits);
  print_score(line.score);
  printf("pv ");
  if (line.bound == ReportUpper) printf("? ");
  if (line.bound == ReportLower) printf("! ");
  print_move_sequence(line.pv);
  printf("\n");
}

void info_line(int score, int bound, int depth, int multipvIndex) {
  SearchLine line = search_so_far();
  line.depth = depth;
  line.selDepth = Search.selDepth;
  line.multipv = multipvIndex;
  line.score = score;
  line.bound = bound;
  line.pv = Search.PrincipalVariation;
  if (FrontEnd.uciMode)
    print_search_line(line);
  else
    console_line(line);
}

void lines_report(const RootLines& lines) {
  if (FrontEnd.uciMode) {
    print_ranked_lines(lines, search_so_far());
    return;
  }
  const SearchLine common = search_so_far();
  for (int i = 0; i < lines.count; i++) console_line(line_of(lines.line[i], common));
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

void install_reports() { Reports = {info_line, lines_report, currmove_line, currline_line, bestmove_line}; }
}  // namespace classic
