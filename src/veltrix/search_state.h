// The records of veltrix's search: the per-thread line (stack, accumulators,
// node counter) and the global state of the running search.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/movegen.h"
#include "engine/root_lines.h"
#include "engine/search_counters.h"
#include "engine/search_signals.h"
#include "engine/search_types.h"
#include "engine/wdl.h"
#include "nnue/veltrix_nnue.h"
#include "veltrix/engine_options.h"
#include "veltrix/margins.h"

namespace veltrix {
// The most search threads the Threads option gives, whatever the machine has.
constexpr int MaxSearchThreads = 16;

// What each ply of the current line remembers.
struct SearchStack {
  Move currentMove[MaxSearchPly];  // 0 for the null move
  Move killers[MaxSearchPly][2];
  // Set while the node at this ply is searched for its caller's sake (null-move
  // child or verification, internal iterative deepening, singular search): such a
  // node must not prune on its own account.
  uint8_t skipPruning[MaxSearchPly];
  Move excludedMove[MaxSearchPly];  // the move a singular search leaves out
};

struct SearchThread {
  // The network accumulator of every position of the current line, by ply: each
  // one is brought up to date from its parent's, or the grandparent's, with the
  // pieces the moves in between changed.
  NnuePlyData nnue[MaxSearchPly];
  SearchStack stack;
  std::atomic<uint64_t> nodes{0};  // written only by its own thread
};

struct SearchState {
  int rootSide = White;
  // For the reports' win/draw/loss: the material at the root, and what the root
  // settles itself (Unsettled when nothing).
  int rootMaterial = 0;
  int rootSettledResult = Unsettled;
  int iterationDepth = 0;
  int selDepth = 0;
  int rootScore = 0;
  bool lowTime = false;     // short of time: the clock is read more often
  bool reportsOff = false;  // the bench searches silently
  MoveList rootMoves;
  // The main thread's principal variation: entry 0 is the best root move, 0 ends it.
  Move pv[MaxSearchPly];
  // The lines each depth searches and reports (fewer when there are fewer root
  // moves). While more than one is asked for: the lines of the last finished
  // depth, best first; once the search has ended, `pv` holds the first.
  int linesAsked = 1;
  RootLines lines;
  // The reports show the first `linesShown` lines; a single one without its
  // number, as when one line is searched. A limited player searches more lines
  // than it shows.
  int linesShown = 1;
  // The nodes a limited player may search, 0 for no such budget, and whether
  // they ran out: the search was stopped for that alone.
  uint64_t nodeBudget = 0;
  bool budgetSpent = false;
};

extern SearchState Search;
extern SearchThread SearchThreads[MaxSearchThreads];

inline int slot_of(const SearchThread& th) { return int(&th - SearchThreads); }

inline void count_node(SearchThread& th) {
  th.nodes.store(th.nodes.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  tally(slot_of(th), CountNodes);
}

uint64_t total_nodes();

inline bool stop_requested() { return Signals.stop.load(std::memory_order_relaxed); }
}  // namespace veltrix
