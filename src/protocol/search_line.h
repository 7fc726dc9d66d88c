// The score lines both engines write while they search, one form for both:
// "info depth .. seldepth .. [multipv ..] score .. [bound] nodes .. nps ..
// [tbhits ..] time .. pv ..", for one line or for several ranked lines.
#pragma once

#include <cstdint>

#include "engine/root_lines.h"
#include "engine/search_types.h"
#include "engine/wdl.h"

struct SearchLine {
  int depth = 0, selDepth = 0;
  int multipv = 0;  // the line's rank among several, 1 the best; 0 leaves the field out
  int score = 0;    // for the side to move
  int bound = ReportExact;
  uint64_t nodes = 0, ms = 0;  // of the whole search so far
  bool showTbhits = false;
  uint64_t tbhits = 0;
  const Move* pv = nullptr;  // the root move first, 0-terminated
  // With UCI_ShowWDL on, the engine's win/draw/loss model and the material at the
  // root; null leaves the field out.
  const WdlModel* wdlModel = nullptr;
  int material = 0;
  // What the root settles itself (a dead draw, or the verdict of endgame tables
  // other than Syzygy): 1 win, 0 draw, -1 loss, or Unsettled.
  int settledResult = Unsettled;
};

// The speed the reports show, from milliseconds, so that it means something in
// the first second too.
inline uint64_t nodes_per_second(uint64_t nodes, uint64_t ms) { return ms ? nodes * 1000 / ms : 0; }
// A score as "cp N " or, beyond the mate bound, "mate N " with N in moves (negative
// when the side to move is mated).
void print_score(int score);
// One line; at most the first ten moves of its principal variation.
void print_search_line(const SearchLine& line);
// A finished root line as a report line: its depth, score and moves, exact, the
// rest of the fields from `common`.
SearchLine line_of(const RootLine& root, SearchLine common);
// Several lines at once, best first, the best as "multipv 1": each with its own
// depth, score and moves, the rest of the fields from `common`. Only the first
// `shown` are printed; a single one without its number, as a search of one line
// prints it.
void print_ranked_lines(const RootLines& lines, const SearchLine& common, int shown = MaxRootLines);
