// The global record of the running search, shared by all search threads, and
// the constant tables of the pruning and reduction rules.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/movegen.h"
#include "search/picker.h"
#include "search/stack.h"
#include "search/thread_pool.h"

struct SearchState {
  // Set when the search must stop (stop, quit, time out); only the main thread sets it.
  // Every search thread tests it.
  std::atomic<bool> stopFlag{false};
  int rootSide = White;
  int lowTime = 0;  // short of time: polls more often
  Move rootBestMove = 0;
  int rootBestScore = 0;
  int tbProbePlyLimit = 0;  // deepest ply at which tablebases are probed in the tree
  int maxDepth = 119;
  int selDepth = 0;
  // One counter per thread, each written only by its own thread.
  std::atomic<uint64_t> nodes[MaxThreads];
  SearchStack stacks[MaxThreads];
  MovePicker pickers[MaxThreads][MaxPly];
  // A singular search runs inside its node's move loop at the same ply, so it
  // needs a picker of its own besides the node's.
  MovePicker singularPickers[MaxThreads][MaxPly];
  MoveList RootMoves;
  // Entry 0 is the move "bestmove" reports, then the continuation, 0-terminated.
  Move PrincipalVariation[MaxPly];
  int currLineCounter = 0;
};

extern SearchState Search;

// Constant tables, filled once at start-up by init_search_tables().
extern int RazorMargin[4];
extern int LateMoveCount[2][16];
extern int StaticNullMargin[7];
extern int FutilityMargin[7];
extern int LmrReduction[2][64][64];

void init_search_tables();

inline void count_node(int thread) {
  std::atomic<uint64_t>& n = Search.nodes[thread];
  n.store(n.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

uint64_t total_nodes();

// Whether the thread's current search must end: the whole search was stopped, or a
// fail high at a split point made the thread's work there useless.
inline bool search_stopped(int thread) {
  return Search.stopFlag.load(std::memory_order_relaxed) || Pool.slots[thread].abort.load(std::memory_order_relaxed);
}
