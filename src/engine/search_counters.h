// Where a parallel search spends its nodes, counted per thread in a diagnostic
// build (configured with -DVELTRIX_SEARCH_COUNTERS=ON) and compiled away in every
// other, so that the searches of a normal build stay exactly as they are.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "engine/search_types.h"

#ifndef VELTRIX_SEARCH_COUNTERS
#define VELTRIX_SEARCH_COUNTERS 0
#endif

enum SearchCounter : int {
  CountNodes,
  // Split points opened by the thread at PV nodes, cut nodes and all nodes (by the
  // engine's own names), and those of each kind that a fail high ended early.
  CountSplitsPv,
  CountSplitsCutNode,
  CountSplitsAllNode,
  CountCutPv,
  CountCutCutNode,
  CountCutAllNode,
  CountSplitNodes,    // nodes searched in moves taken from a shared picker
  CountAbortedNodes,  // ... in moves a fail high elsewhere there stopped or made useless
  CountLateNodes,     // ... in moves after the move that failed high, searched to the end
  CountReducedFails,  // reduced searches that failed high and were searched again
  CountPvResearches,  // null-window searches in PV nodes searched again with the full window
  CountAspirationFails,
  SearchCounterKinds,
};

inline constexpr const char* SearchCounterNames[SearchCounterKinds] = {
    "nodes",      "splitpv",      "splitcut",  "splitall",     "cutpv",      "cutcut",        "cutall",
    "splitnodes", "abortednodes", "latenodes", "reducedfails", "pvresearch", "aspirationfail"};

struct alignas(64) ThreadCounters {
  std::atomic<uint64_t> counts[SearchCounterKinds];
};

inline ThreadCounters SearchCounters[64];

inline void tally(int thread, SearchCounter c, uint64_t n = 1) {
  if constexpr (VELTRIX_SEARCH_COUNTERS) {
    std::atomic<uint64_t>& v = SearchCounters[thread].counts[c];
    v.store(v.load(std::memory_order_relaxed) + n, std::memory_order_relaxed);
  }
}

inline uint64_t tallied(int thread, SearchCounter c) {
  if constexpr (!VELTRIX_SEARCH_COUNTERS) return 0;
  return SearchCounters[thread].counts[c].load(std::memory_order_relaxed);
}

inline void tally_split(int thread, NodeType type, bool cut) {
  const int kind = type == PvNode ? 0 : type == CutNode ? 1 : 2;
  tally(thread, SearchCounter((cut ? CountCutPv : CountSplitsPv) + kind));
}

// The nodes of each move completed at one split point, by its number.
struct SplitTally {
#if VELTRIX_SEARCH_COUNTERS
  uint64_t moveNodes[256];
#endif
  void start() {
#if VELTRIX_SEARCH_COUNTERS
    for (uint64_t& n : moveNodes) n = 0;
#endif
  }
  void completed(int moveCount, uint64_t nodes) {
#if VELTRIX_SEARCH_COUNTERS
    moveNodes[moveCount & 255] = nodes;
#endif
  }
  // One thread alone would have stopped at the move that failed high.
  void close(int master, NodeType type, int cutMove) {
#if VELTRIX_SEARCH_COUNTERS
    if (!cutMove) return;
    tally_split(master, type, true);
    uint64_t late = 0;
    for (int i = cutMove + 1; i < 256; i++) late += moveNodes[i];
    tally(master, CountLateNodes, late);
#endif
  }
};

// One line per thread, then the counts start again from zero.
inline void print_search_counters(int threads) {
  if constexpr (VELTRIX_SEARCH_COUNTERS) {
    for (int t = 0; t < threads; t++) {
      printf("info string counters thread %d", t);
      for (int c = 0; c < SearchCounterKinds; c++) {
        printf(" %s %llu", SearchCounterNames[c], (unsigned long long)tallied(t, SearchCounter(c)));
        SearchCounters[t].counts[c].store(0, std::memory_order_relaxed);
      }
      printf("\n");
    }
    fflush(stdout);
  }
}
