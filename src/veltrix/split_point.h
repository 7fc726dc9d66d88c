// The shared records of veltrix's parallel search: the split points where helper
// threads join a node's move loop, each thread's part in them, and the locks that
// guard them.
#pragma once

#include <atomic>

#include "board/position.h"
#include "nnue/veltrix_nnue.h"
#include "platform/helper_crew.h"
#include "platform/spin_lock.h"
#include "veltrix/engine_options.h"
#include "veltrix/picker.h"
#include "veltrix/search_move.h"
#include "veltrix/search_state.h"

constexpr int MaxSplitsPerThread = 8;
constexpr int MaxSlavesPerSplit = 3;

// A node whose remaining moves its owner (the master) shares with up to three
// slaves. It lives while its master is inside try_split.
struct SplitPoint {
  SpinLock lock;
  // The split point the master was working at when it opened this one: the chain
  // of these leads from any work up to the root.
  SplitPoint* parent;
  int master;
  // Threads working here besides the master. A slave leaves the set when its work
  // here ends, so that a late cut-off here never stops work it has taken up elsewhere.
  std::atomic<bool> slaves[MaxSearchThreads];
  // The master's node as it stood, copied by each slave: the board, the line, and
  // the network accumulator of the node, the base of every child's.
  Position pos;
  SearchStack stack;
  NnuePlyData nnue;
  // Shared by everybody from here on, under `lock`.
  MovePicker picker;
  NodeFrame node;
  int moveCount;
  int bestValue;
  Move bestMove;
  // Set by a fail high, or by a master whose own work has become useless: nobody
  // takes another move.
  std::atomic<bool> cutoff;
  // Threads still working here, master included; the master waits for 0.
  std::atomic<int> workers;
};

struct PoolSlot {
  SplitPoint* currentSplit = nullptr;  // where the thread works now
  std::atomic<int> splitCount{0};      // split points it owns, at most 8
};

struct ThreadPool {
  HelperCrew crew;
  // Serialises opening, joining and closing split points; never held together with
  // a split point's own lock.
  SpinLock splitLock;
  PoolSlot slots[MaxSearchThreads];
  SplitPoint splitPoints[MaxSearchThreads][MaxSplitsPerThread];
};

static_assert(MaxSearchThreads <= MaxCrewThreads);

extern ThreadPool Pool;
