// The parallel search of both engines: a node that has searched its first move may
// share its remaining moves with idle helper threads (young brothers wait). The
// node's owner, the master, and up to three helpers take moves from one shared
// picker until it is empty or one of them fails high. A master whose picker is
// empty while its helpers still work helps them at split points further down.
//
// What a move's search is and what a helper copies of the master's line belong to
// each engine; its Engine record supplies MaxThreads, the Line, Picker and Node
// types, save_line and take_up_line (at a split, and when a helper joins),
// next_move (the shared picker's next move), enter_move (false for a move left
// out), count_node, search_move (the per-move rules; false when the move was
// pruned, which may lift bestValue), poll_while_waiting (the main thread's look
// at clock and input), history_move (the moves a quiet refutation's history
// update punishes) and pool().
#pragma once

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "board/position.h"
#include "engine/search_counters.h"
#include "engine/search_signals.h"
#include "engine/search_types.h"
#include "platform/helper_crew.h"
#include "platform/platform.h"
#include "platform/spin_lock.h"

constexpr int MaxSplitsPerThread = 8;
constexpr int MaxMovesPerNode = 256;
constexpr int MaxHelpersPerSplit = 3;

// A helper takes over the master's line from `first` on; the plies above may belong
// to the line of a thread waiting at a split point of its own.
template <typename Entry, size_t Plies>
void copy_plies_from(Entry (&to)[Plies], const Entry (&from)[Plies], int first) {
  memcpy(to + first, from + first, sizeof(Entry) * (Plies - size_t(first)));
}

// A node whose remaining moves its master shares. It lives while its master is
// inside try_split.
template <typename Engine>
struct SplitPoint {
  SpinLock lock;
  // The split point the master was working at when it opened this one: the chain of
  // these leads from any work up to the root.
  SplitPoint* parent;
  int master;
  // Threads working here besides the master. A helper leaves the set when its work
  // here ends, so that a late fail high here never stops work it has taken up
  // elsewhere.
  std::atomic<bool> helpers[Engine::MaxThreads];
  // The master's node as it stood, copied by each helper.
  Position pos;
  typename Engine::Line line;
  // Shared by everybody from here on, under `lock`.
  typename Engine::Picker picker;
  typename Engine::Node node;  // node.alpha rises in PV nodes as better moves are found
  int moveCount;
  int bestValue;
  Move bestMove;
  // The moves searched here by anyone, by their number in the node, and the number
  // of the one that failed high (0 for none): the node's history update must see
  // the moves tried before the refutation, whoever searched them.
  Move searched[MaxMovesPerNode];
  int firstMove;
  int cutMove;
  // Set by a fail high, or by a master whose own work has become useless: nobody
  // takes another move.
  std::atomic<bool> cutoff;
  // Threads still working here, master included; the master waits for 0.
  std::atomic<int> workers;
  SplitTally tally;
};

template <typename Engine>
struct alignas(64) PoolSlot {
  // The thread's current work must end: a fail high above it made it useless.
  std::atomic<bool> abort{false};
  SplitPoint<Engine>* currentSplit = nullptr;
  std::atomic<int> splitCount{0};  // split points the thread owns
};

template <typename Engine>
struct ThreadPool {
  HelperCrew crew;
  int threadCount = 1;  // the main thread and its helpers
  // Serialises opening, joining and closing split points; never held together
  // with a split point's own lock.
  SpinLock splitLock;
  PoolSlot<Engine> slots[Engine::MaxThreads];
  SplitPoint<Engine> splitPoints[Engine::MaxThreads][MaxSplitsPerThread];
  static_assert(Engine::MaxThreads <= MaxCrewThreads);

  // Whether the thread's current search must end: the whole search was stopped, or
  // a fail high at a split point made the thread's work there useless.
  bool stopped(int thread) const {
    return Signals.stop.load(std::memory_order_relaxed) || slots[thread].abort.load(std::memory_order_relaxed);
  }
};

template <typename Engine>
class SplitSearch {
 public:
  using Pool = ThreadPool<Engine>;
  using Split = SplitPoint<Engine>;
  using Node = typename Engine::Node;
  using Picker = typename Engine::Picker;

  // Young brothers wait: an idle thread joins when it has nothing of its own to do.
  // A thread that owns split points is idle only while it waits for its helpers,
  // and then takes work only from one of them, so that it is back the moment they
  // are done; with two threads the only other thread always is one.
  static bool available(Pool& pool, int helper, int master) {
    if (helper == master || !pool.crew.members[helper].idle) return false;
    int owned = pool.slots[helper].splitCount;
    return owned == 0 || pool.threadCount == 2 || pool.splitPoints[helper][owned - 1].helpers[master];
  }

  static bool anyone_available(Pool& pool, int master) {
    for (int i = 0; i < pool.threadCount; i++)
      if (available(pool, i, master)) return true;
    return false;
  }

  // Offers the rest of the node's moves to idle threads. True when a split point
  // searched all of them, or was cut off: moveCount, bestValue and bestMove then
  // hold the node's result, and the moves that count for the history (those the
  // engine's history_move picks) searched up to the one that failed high are
  // added to tried. False when nobody could be had.
  static bool try_split(Pool& pool, Position& pos, Picker& picker, const Node& node, int& moveCount, int& bestValue,
                        Move& bestMove, Move* tried, int& triedCount) {
    const int master = pos.ThreadSlot;
    // A look without the lock first: most calls find everybody busy.
    if (!anyone_available(pool, master)) return false;
    pool.splitLock.lock();
    if (pool.slots[master].splitCount >= MaxSplitsPerThread || !anyone_available(pool, master)) {
      pool.splitLock.unlock();
      return false;
    }
    Split& sp = open(pool, pos, picker, node, moveCount, bestValue, bestMove);
    recruit_helpers(pool, sp);
    pool.splitLock.unlock();

    search_at(pool, pos, sp);
    wait_for_helpers(pool, sp);
    close(pool, sp, moveCount, bestValue, bestMove);
    pool.splitLock.unlock();
    add_tried_moves(sp, tried, triedCount);
    return true;
  }

  // A helper's share of the split point it was handed: the master's board and line
  // taken up, then the moves.
  static void join(Pool& pool, int slot) {
    Split& sp = *pool.slots[slot].currentSplit;
    Position pos = sp.pos;
    pos.ThreadSlot = slot;
    Engine::take_up_line(slot, sp.line, sp.node);
    search_at(pool, pos, sp);
  }

  // One thread's work at a split point: takes moves from the shared picker until
  // none is left, one of them fails high, or its search stops.
  static void search_at(Pool& pool, Position& pos, Split& sp) {
    const int thread = pos.ThreadSlot;
    Engine::count_node(thread);
    sp.lock.lock();
    Node node = sp.node;
    while (!sp.cutoff) {
      Move m = Engine::next_move(pos, sp.picker, node);
      if (!m) break;
      // A singular search shares its moves too, and its excluded move stays out.
      if (!Engine::enter_move(thread, node.ply, m)) continue;
      const int moveCount = ++sp.moveCount;
      sp.searched[moveCount % MaxMovesPerNode] = 0;
      node.alpha = sp.node.alpha;
      int bestValue = sp.bestValue;
      sp.lock.unlock();

      int v = 0;
      const uint64_t before = tallied(thread, CountNodes);
      const bool searched = Engine::search_move(pos, node, m, moveCount, bestValue, v);
      const uint64_t spent = tallied(thread, CountNodes) - before;
      tally(thread, CountSplitNodes, spent);

      sp.lock.lock();
      // One thread alone would have searched this move to the end.
      if (searched) sp.searched[moveCount % MaxMovesPerNode] = m;
      if (pool.stopped(thread) || sp.cutoff) tally(thread, CountAbortedNodes, spent);
      if (pool.stopped(thread)) {
        // The master's result will be thrown away: its helpers need not finish.
        if (thread == sp.master) stop_split_point(pool, sp, thread);
        break;
      }
      if (!searched) {
        sp.bestValue = std::max(sp.bestValue, bestValue);
        continue;
      }
      if (sp.cutoff) break;
      sp.tally.completed(moveCount, spent);
      if (v > sp.bestValue) {
        sp.bestValue = v;
        if (v > sp.node.alpha) {
          sp.bestMove = m;
          if (v >= node.beta) {
            sp.cutMove = moveCount;
            stop_split_point(pool, sp, thread);
            break;
          }
          if (node.nodeType == PvNode) sp.node.alpha = v;
        }
      }
    }
    if (thread != sp.master) sp.helpers[thread] = false;
    sp.workers--;
    sp.lock.unlock();
  }

 private:
  static Split& open(Pool& pool, const Position& pos, const Picker& picker, const Node& node, int moveCount,
                     int bestValue, Move bestMove) {
    const int master = pos.ThreadSlot;
    PoolSlot<Engine>& owner = pool.slots[master];
    Split& sp = pool.splitPoints[master][owner.splitCount];
    sp.parent = owner.currentSplit;
    owner.splitCount++;
    sp.master = master;
    sp.pos = pos;
    Engine::save_line(sp.line, master, node);
    sp.picker = picker;
    sp.node = node;
    sp.moveCount = moveCount;
    sp.firstMove = moveCount + 1;
    sp.cutMove = 0;
    sp.bestValue = bestValue;
    sp.bestMove = bestMove;
    sp.cutoff = false;
    sp.workers = 1;
    sp.tally.start();
    tally_split(master, node.nodeType, false);
    for (auto& helper : sp.helpers) helper = false;
    owner.currentSplit = &sp;
    return sp;
  }

  static void recruit_helpers(Pool& pool, Split& sp) {
    for (int i = 0; i < pool.threadCount && sp.workers <= MaxHelpersPerSplit; i++) {
      if (!available(pool, i, sp.master)) continue;
      CrewMember& member = pool.crew.members[i];
      sp.helpers[i] = true;
      sp.workers++;
      pool.slots[i].currentSplit = &sp;
      pool.slots[i].abort = false;
      member.idle = false;
      member.hasWork = true;
    }
  }

  // Nobody takes another move here, and whatever the others working here search
  // below this node is of no use any more. Under sp.lock.
  static void stop_split_point(Pool& pool, Split& sp, int stopper) {
    sp.cutoff = true;
    for (int i = 0; i < pool.threadCount; i++)
      if (i != stopper && (i == sp.master || sp.helpers[i])) pool.slots[i].abort = true;
  }

  // A thread's flag says whether its work is still of use, which it is not once a
  // split point above it has been cut off. Cleared first: a cut-off made meanwhile
  // is then seen either in the chain or in the flag it sets.
  static void restore_abort(Pool& pool, int thread, const Split* from) {
    std::atomic<bool>& abort = pool.slots[thread].abort;
    abort = false;
    for (const Split* sp = from; sp; sp = sp->parent) {
      if (sp->cutoff) {
        abort = true;
        return;
      }
    }
  }

  // The master's part once the shared picker is empty: its helpers are still busy,
  // and any of them may hand it a share of a split point further down meanwhile.
  // Returns holding splitLock, so that no helper can hand it work once it has
  // decided to go.
  static void wait_for_helpers(Pool& pool, Split& sp) {
    const int slot = sp.master;
    CrewMember& self = pool.crew.members[slot];
    uint64_t lastPoll = now_ms();
    self.idle = true;
    for (;;) {
      if (self.hasWork) {
        self.hasWork = false;
        join(pool, slot);
        pool.slots[slot].currentSplit = &sp;
        restore_abort(pool, slot, &sp);
        self.idle = true;
        continue;
      }
      if (sp.workers == 0) {
        pool.splitLock.lock();
        if (!self.hasWork) break;
        pool.splitLock.unlock();
        continue;
      }
      // Stopped from above while idle: the helpers' work is useless as well.
      if (pool.slots[slot].abort && !sp.cutoff) {
        sp.lock.lock();
        stop_split_point(pool, sp, slot);
        sp.lock.unlock();
      }
      // The main thread keeps an eye on the clock and the input while it has no
      // nodes of its own to count.
      if (slot == 0 && now_ms() != lastPoll) {
        lastPoll = now_ms();
        Engine::poll_while_waiting();
      }
      std::this_thread::yield();
    }
    self.idle = false;
  }

  static void close(Pool& pool, Split& sp, int& moveCount, int& bestValue, Move& bestMove) {
    PoolSlot<Engine>& owner = pool.slots[sp.master];
    sp.tally.close(sp.master, sp.node.nodeType, sp.cutMove);
    moveCount = sp.moveCount;
    bestValue = sp.bestValue;
    bestMove = sp.bestMove;
    owner.splitCount--;
    owner.currentSplit = sp.parent;
    // The cut-off just ended here is the node's result and stops nothing above.
    restore_abort(pool, sp.master, sp.parent);
  }

  // The split point is closed, but its record stays the master's until it opens
  // another one.
  static void add_tried_moves(const Split& sp, Move* tried, int& triedCount) {
    const int last = sp.cutMove ? sp.cutMove : std::min(sp.moveCount, sp.firstMove + MaxMovesPerNode - 1);
    for (int i = sp.firstMove; i <= last; i++) {
      const Move m = sp.searched[i % MaxMovesPerNode];
      if (m && Engine::history_move(m) && triedCount < MaxMovesPerNode) tried[triedCount++] = m;
    }
  }
};

// The helper threads' lifecycle: created by the Threads option, asleep on their
// events between searches, spinning for work while one runs.
template <typename Engine>
void start_helpers(ThreadPool<Engine>& pool, int threadCount) {
  pool.threadCount = threadCount;
  for (auto& slot : pool.slots) {
    slot.abort = false;
    slot.currentSplit = nullptr;
    slot.splitCount = 0;
  }
  if (threadCount >= 2)
    start_crew(pool.crew, threadCount, [](int slot) { SplitSearch<Engine>::join(Engine::pool(), slot); });
}

// Between searches only: the helpers leave and the main thread searches alone.
template <typename Engine>
void stop_helpers(ThreadPool<Engine>& pool) {
  if (pool.threadCount >= 2) {
    pool.crew.exitFlag = true;
    end_crew(pool.crew);
  }
  pool.threadCount = 1;
}

// Between these two calls the helpers spin, ready to join split points. Every
// search starts with no split point and no thread stopped.
template <typename Engine>
void wake_helpers(ThreadPool<Engine>& pool) {
  for (auto& slot : pool.slots) {
    slot.splitCount = 0;
    slot.abort = false;
  }
  if (pool.threadCount >= 2) wake_crew(pool.crew);
}

template <typename Engine>
void park_helpers(ThreadPool<Engine>& pool) {
  if (pool.threadCount >= 2) park_crew(pool.crew);
}
