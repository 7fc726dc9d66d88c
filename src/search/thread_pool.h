// The shared records of the parallel search: the helper threads' flags, their
// split points, and the locks that guard them.
#pragma once

#include <atomic>

#include "board/position.h"
#include "platform/helper_crew.h"
#include "platform/spin_lock.h"
#include "search/picker.h"
#include "search/search_move.h"
#include "search/stack.h"

constexpr int MaxSplitsPerThread = 8;
constexpr int MaxHelpersPerSplit = 3;

// A node whose remaining moves are shared between its owner (the master) and up to
// three helpers. It lives while its master is inside try_split.
struct SplitPoint {
  SpinLock lock;
  SplitPoint* parent;  // the master's previous split point
  int master;
  // Threads helping here; a helper leaves the set when its work here ends, so that
  // a late fail high here never stops work it has taken up elsewhere.
  std::atomic<bool> helpers[MaxThreads];
  // The master's node as it stood, copied for the helpers.
  Position pos;
  SearchStack stack;
  // Shared by everybody from here on, under `lock`.
  MovePicker picker;
  NodeFrame node;  // node.alpha rises in PV nodes as better moves are found
  int moveCount;
  int bestValue;
  Move bestMove;
  // Set by a fail high, or by a master that gives up: nobody takes another move.
  std::atomic<bool> cutoff;
  // Threads still working here, master included; the master waits for 0.
  std::atomic<int> workers;
};

// A thread's part in the split points; its lifecycle flags (idle, hasWork) are
// those of its crew member.
struct alignas(64) PoolSlot {
  // The thread's current work must end: a fail high above it made it useless.
  std::atomic<bool> abort{false};
  Position position;  // a helper's own copy of the board
  SplitPoint* currentSplit = nullptr;
  std::atomic<int> splitCount{0};  // split points this thread owns, at most 8
};

struct ThreadPool {
  HelperCrew crew;
  int threadCount = 1;  // main thread and helpers
  // Taken only in try_split, never together with a split point's lock.
  SpinLock splitLock;
  PoolSlot slots[MaxThreads];
  SplitPoint splitPoints[MaxThreads][MaxSplitsPerThread];
};

static_assert(MaxThreads <= MaxCrewThreads);

extern ThreadPool Pool;
