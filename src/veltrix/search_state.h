// The records of veltrix's search: the per-thread line (stack, accumulators,
// node counter) and the global state of the running search.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/movegen.h"
#include "nnue/veltrix_nnue.h"
#include "veltrix/engine_options.h"

// Plies from the root; a node this deep is not searched further.
constexpr int MaxSearchPly = 100;

// nodeType of search_node: the expected kind of node.
enum NodeType : int { AllNode = 0, CutNode = 1, PvNode = 2 };

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
  std::atomic<bool> abort{false};  // ends this thread's searches at once
};

struct SearchState {
  // Set when the search must stop (time, "stop", "quit"); only the main thread sets it.
  std::atomic<bool> stopFlag{false};
  int rootSide = White;
  int iterationDepth = 0;
  int selDepth = 0;
  int rootScore = 0;
  bool lowTime = false;     // short of time: the clock is read more often
  bool reportsOff = false;  // the bench searches silently
  // "quit" arrived during the search: the program ends once every thread has left
  // the search. Main thread only.
  bool quitRequested = false;
  MoveList rootMoves;
  // The main thread's principal variation: entry 0 is the best root move, 0 ends it.
  Move pv[MaxSearchPly];
};

extern SearchState Search;
extern SearchThread SearchThreads[MaxSearchThreads];

inline void count_node(SearchThread& th) {
  th.nodes.store(th.nodes.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

uint64_t total_nodes();

// Whether the thread's search must end now.
inline bool search_stopped(const SearchThread& th) {
  return Search.stopFlag.load(std::memory_order_relaxed) || th.abort.load(std::memory_order_relaxed);
}

// Start-up: the late-move reduction table.
void init_search_tables();
// Late-move reduction for a move of the given number at the given depth, before
// the history correction of all-nodes.
int base_reduction(int depth, int moveCount, bool pvNode);
