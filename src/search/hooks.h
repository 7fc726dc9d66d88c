// What the classic search takes from the program around it: its settings, and the
// listeners and hooks the front end fills in at start-up (left empty, the search
// runs silently and without a book).
#pragma once

#include "board/position.h"
#include "engine/root_lines.h"
#include "engine/search_types.h"
#include "search/search_state.h"

namespace classic {
// Set only between searches.
struct SearchSettings {
  int multiPV = 1;
  // Weakened play: the search ends at this depth and answers when the clock says.
  bool usePlayLevel = false;
  int playLevel = 20;
  bool showCurrLine = false;  // report the line being searched now and then
  bool useTablebases = true;  // probe the endgame tables inside the tree
};

// What the search tells whoever listens; the main thread only.
struct SearchReports {
  // An iteration's result or a new best root move: score, bound and depth; the
  // line is Search.PrincipalVariation.
  void (*iteration)(int score, int bound, int depth, int multipvIndex) = nullptr;
  // The best lines when MultiPV asks for several, best first.
  void (*lines)(const RootLines& lines) = nullptr;
  // The root move being searched.
  void (*currentMove)(int depth, int moveNumber, Move move) = nullptr;
  // The line the main thread is searching, from the root down to `ply`.
  void (*currentLine)(const SearchStack& ss, int ply) = nullptr;
  // The answer, and the reply to ponder on (0 for none).
  void (*bestMove)(Move best, Move ponder) = nullptr;
};

// Where the root search turns before and after it searches.
struct RootHooks {
  // Set-up that is still pending (the tablebases after their options changed).
  void (*prepare)() = nullptr;
  // A move to answer at once without searching, 0 for none (the opening book).
  Move (*bookMove)(const Position& root) = nullptr;
  // The result of a finished search, for whoever remembers them (book learning).
  void (*learn)(const Position& root, Move best, int score, int depth) = nullptr;
};

extern SearchSettings SearchConfig;
extern SearchReports Reports;
extern RootHooks Hooks;
}  // namespace classic
