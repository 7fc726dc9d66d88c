#include "protocol/search_line.h"

#include <cinttypes>
#include <cstdio>

#include "board/movetext.h"
#include "engine/score.h"
#include "syzygy/syzygy.h"

namespace {
constexpr int PvMovesShown = 10;

// A mate or an endgame table's verdict is certain; any other score goes through
// the engine's model.
Wdl line_wdl(const SearchLine& line) {
  if (abs_score(line.score) <= SCORE_MATE_RANGE) {
    TbResult result;
    if (line.pv && syzygy_root_result(line.pv[0], result)) return certain_wdl(int(result));
    if (line.settledResult != Unsettled) return certain_wdl(line.settledResult);
  }
  return wdl_of_score(*line.wdlModel, line.score, line.material);
}
}  // namespace

void print_score(int score) {
  if (score > SCORE_MATE_RANGE)
    printf("mate %d ", (SCORE_MATE + 1 - score) / 2);
  else if (score < -SCORE_MATE_RANGE)
    printf("mate %d ", -((score + SCORE_MATE) / 2));
  else
    printf("cp %d ", score);
}

void print_search_line(const SearchLine& line) {
  printf("info depth %d seldepth %d ", line.depth, line.selDepth);
  if (line.multipv) printf("multipv %d ", line.multipv);
  printf("score ");
  print_score(line.score);
  if (line.wdlModel) {
    const Wdl wdl = line_wdl(line);
    printf("wdl %d %d %d ", wdl.win, wdl.draw, wdl.loss);
  }
  if (line.bound == ReportUpper) printf("upperbound ");
  if (line.bound == ReportLower) printf("lowerbound ");
  printf("nodes %" PRIu64 " nps %" PRIu64 " ", line.nodes, nodes_per_second(line.nodes, line.ms));
  if (line.showTbhits) printf("tbhits %" PRIu64 " ", line.tbhits);
  printf("time %" PRIu64 " pv ", line.ms);
  for (int i = 0; i < PvMovesShown && line.pv[i]; i++) print_move(line.pv[i]);
  printf("\n");
}

SearchLine line_of(const RootLine& root, SearchLine common) {
  common.depth = root.depth;
  common.selDepth = root.selDepth;
  common.score = root.shownScore;
  common.bound = ReportExact;
  common.pv = root.pv;
  return common;
}

void print_ranked_lines(const RootLines& lines, const SearchLine& common, int shown) {
  for (int i = 0; i < lines.count && i < shown; i++) {
    SearchLine line = line_of(lines.line[i], common);
    line.multipv = shown > 1 ? i + 1 : 0;
    print_search_line(line);
  }
}
