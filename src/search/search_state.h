// The global record of the running search, shared by all search threads.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/movegen.h"
#include "engine/root_lines.h"
#include "engine/search_counters.h"
#include "engine/search_signals.h"
#include "engine/wdl.h"
#include "search/picker.h"

namespace classic {
// What each ply of a thread's current line remembers.
struct SearchStack {
  Move killers[MaxPly][2];
  Move currentMove[MaxPly];   // 0 for the null move
  Move excludedMove[MaxPly];  // the move a singular search leaves out
  int staticEval[MaxPly];     // SCORE_NONE when in check or not computed
  // Set while the node at this ply is searched as a null-move child, a null-move
  // verification, an internal-iterative-deepening or a singular search: such a
  // node only serves its caller and must not prune on its own account.
  uint8_t skipPruning[MaxPly];
};

void clear_stack(SearchStack& ss);

// A thread's node counter on a cache line of its own: every node writes it, and a
// line shared with another thread's counter would bounce between the cores.
struct alignas(64) NodeCounter {
  std::atomic<uint64_t> count{0};
};

struct SearchState {
  int rootSide = White;
  // For the reports' win/draw/loss: the material at the root, and what the root
  // settles itself (a dead draw, the endgame tables' verdict; Unsettled when nothing).
  int rootMaterial = 0;
  int rootSettledResult = Unsettled;
  int lowTime = 0;  // short of time: polls more often
  Move rootBestMove = 0;
  int rootBestScore = 0;
  int tbProbePlyLimit = 0;  // deepest ply at which tablebases are probed in the tree
  int maxDepth = 119;
  int selDepth = 0;
  // One counter per thread, each written only by its own thread.
  NodeCounter nodes[MaxThreads];
  SearchStack stacks[MaxThreads];
  MovePicker pickers[MaxThreads][MaxPly];
  // A singular search runs inside its node's move loop at the same ply, so it
  // needs a picker of its own besides the node's.
  MovePicker singularPickers[MaxThreads][MaxPly];
  MoveList RootMoves;
  // Entry 0 is the move "bestmove" reports, then the continuation, 0-terminated.
  Move PrincipalVariation[MaxPly];
  // With MultiPV above 1: the lines last reported; the first is the answer.
  RootLines Lines;
  int currLineCounter = 0;
};

extern SearchState Search;

inline void count_node(int thread) {
  std::atomic<uint64_t>& n = Search.nodes[thread].count;
  n.store(n.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  tally(thread, CountNodes);
}

uint64_t total_nodes();

inline bool stop_requested() { return Signals.stop.load(std::memory_order_relaxed); }
}  // namespace classic
