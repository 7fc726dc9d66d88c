#include "veltrix/split.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "platform/platform.h"
#include "veltrix/time.h"

namespace {

int slot_of(const SearchThread& th) { return int(&th - SearchThreads); }

// Young brothers wait: an idle thread joins when it has nothing of its own to do.
// A thread that owns split points is idle only while it waits for its slaves, and
// then takes work only from one of them, so that it is back the moment they are
// done; with two threads the only other thread always is one.
bool available(int helper, int master) {
  if (helper == master || !Pool.crew.members[helper].idle) return false;
  int owned = Pool.slots[helper].splitCount;
  return owned == 0 || Engine.threadCount == 2 || Pool.splitPoints[helper][owned - 1].slaves[master];
}

bool anyone_available(int master) {
  for (int i = 0; i < Engine.threadCount; i++)
    if (available(i, master)) return true;
  return false;
}

SplitPoint& open_split_point(SearchThread& th, const Position& pos, const MovePicker& picker, const NodeFrame& node,
                             int moveCount, int bestValue, Move bestMove) {
  const int master = slot_of(th);
  PoolSlot& owner = Pool.slots[master];
  SplitPoint& sp = Pool.splitPoints[master][owner.splitCount];
  sp.parent = owner.currentSplit;
  owner.splitCount++;
  sp.master = master;
  sp.pos = pos;
  sp.stack = th.stack;
  sp.nnue = th.nnue[node.ply];
  sp.picker = picker;
  sp.node = node;
  sp.moveCount = moveCount;
  sp.bestValue = bestValue;
  sp.bestMove = bestMove;
  sp.cutoff = false;
  sp.workers = 1;
  for (auto& slave : sp.slaves) slave = false;
  owner.currentSplit = &sp;
  return sp;
}

void recruit_slaves(SplitPoint& sp) {
  for (int i = 0; i < Engine.threadCount && sp.workers <= MaxSlavesPerSplit; i++) {
    if (!available(i, sp.master)) continue;
    CrewMember& member = Pool.crew.members[i];
    sp.slaves[i] = true;
    sp.workers++;
    Pool.slots[i].currentSplit = &sp;
    SearchThreads[i].abort = false;
    member.idle = false;
    member.hasWork = true;
  }
}

// Nobody takes another move here, and whatever the others working here search
// below this node is of no use any more. Under sp.lock.
void stop_split_point(SplitPoint& sp, int stopper) {
  sp.cutoff = true;
  for (int i = 0; i < Engine.threadCount; i++)
    if (i != stopper && (i == sp.master || sp.slaves[i])) SearchThreads[i].abort = true;
}

// A thread's flag says whether its work is still of use, which it is not once a
// split point above it has been cut off. Cleared first: a cut-off made meanwhile
// is then seen either in the chain or in the flag it sets.
void restore_abort(SearchThread& th, const SplitPoint* from) {
  th.abort = false;
  for (const SplitPoint* sp = from; sp; sp = sp->parent) {
    if (sp->cutoff) {
      th.abort = true;
      return;
    }
  }
}

// The main thread keeps an eye on the clock and the input while it has no nodes
// of its own to count.
struct IdlePoll {
  uint64_t last = now_ms();
  void operator()() {
    uint64_t now = now_ms();
    if (now == last) return;
    last = now;
    poll_search();
  }
};

// The master's part once the shared picker is empty: its slaves are still busy, and
// any of them may hand it a share of a split point further down meanwhile. Returns
// holding splitLock, so that no slave can hand it work once it has decided to go.
void wait_for_slaves(SearchThread& th, SplitPoint& sp) {
  const int slot = sp.master;
  CrewMember& self = Pool.crew.members[slot];
  const bool mainThread = slot == 0;
  IdlePoll poll;
  self.idle = true;
  for (;;) {
    if (self.hasWork) {
      self.hasWork = false;
      join_split_point(slot);
      Pool.slots[slot].currentSplit = &sp;
      restore_abort(th, &sp);
      self.idle = true;
      continue;
    }
    if (sp.workers == 0) {
      Pool.splitLock.lock();
      if (!self.hasWork) break;
      Pool.splitLock.unlock();
      continue;
    }
    // Stopped from above while idle: the slaves' work is useless as well.
    if (th.abort && !sp.cutoff) {
      sp.lock.lock();
      stop_split_point(sp, slot);
      sp.lock.unlock();
    }
    if (mainThread) poll();
    std::this_thread::yield();
  }
  self.idle = false;
}

void close_split_point(SearchThread& th, SplitPoint& sp, int& moveCount, int& bestValue, Move& bestMove) {
  PoolSlot& owner = Pool.slots[sp.master];
  moveCount = sp.moveCount;
  bestValue = sp.bestValue;
  bestMove = sp.bestMove;
  owner.splitCount--;
  owner.currentSplit = sp.parent;
  // The cut-off just ended here is the node's result and stops nothing above.
  restore_abort(th, sp.parent);
}

template <typename Entry, size_t Plies>
void copy_from_ply(Entry (&to)[Plies], const Entry (&from)[Plies], int ply) {
  memcpy(to + ply, from + ply, sizeof(Entry) * (Plies - ply));
}

// A slave works only on the plies from the split point on: the ones above may
// belong to the line of a master waiting at a split point of its own.
void take_up_line(SearchThread& th, const SplitPoint& sp) {
  const int ply = sp.node.ply;
  const SearchStack& from = sp.stack;
  SearchStack& to = th.stack;
  copy_from_ply(to.currentMove, from.currentMove, ply);
  copy_from_ply(to.killers, from.killers, ply);
  copy_from_ply(to.skipPruning, from.skipPruning, ply);
  copy_from_ply(to.excludedMove, from.excludedMove, ply);
  // Every child's accumulator starts from the node's; the records above it are of
  // another line and must never serve as a base.
  th.nnue[ply] = sp.nnue;
  for (int back = 1; back <= 2 && ply - back >= 0; back++) th.nnue[ply - back].computed = 0;
}

}  // namespace

bool try_split(SearchThread& th, Position& pos, MovePicker& picker, const NodeFrame& node, int& moveCount,
               int& bestValue, Move& bestMove) {
  const int master = slot_of(th);
  // A look without the lock first: most calls find everybody busy.
  if (!anyone_available(master)) return false;
  Pool.splitLock.lock();
  if (Pool.slots[master].splitCount >= MaxSplitsPerThread || !anyone_available(master)) {
    Pool.splitLock.unlock();
    return false;
  }
  SplitPoint& sp = open_split_point(th, pos, picker, node, moveCount, bestValue, bestMove);
  recruit_slaves(sp);
  Pool.splitLock.unlock();

  split_point_search(th, pos, sp);
  wait_for_slaves(th, sp);
  close_split_point(th, sp, moveCount, bestValue, bestMove);
  Pool.splitLock.unlock();
  return true;
}

void split_point_search(SearchThread& th, Position& pos, SplitPoint& sp) {
  const int slot = slot_of(th);
  count_node(th);
  sp.lock.lock();
  NodeFrame node = sp.node;
  while (!sp.cutoff) {
    Move m = next_move(pos, sp.picker);
    if (!m) break;
    // A singular search shares its moves too, and its excluded move stays out.
    if (m == th.stack.excludedMove[node.ply]) continue;
    const int moveCount = ++sp.moveCount;
    th.stack.currentMove[node.ply] = m;
    node.alpha = sp.node.alpha;
    int bestValue = sp.bestValue;
    sp.lock.unlock();

    const MoveFacts facts = facts_of(pos, m);
    const bool pruned = prunes_move(pos, node, m, facts, moveCount, bestValue);
    const int v = pruned ? 0 : search_move(th, pos, node, m, facts, moveCount);

    sp.lock.lock();
    if (search_stopped(th)) {
      // The master's result will be thrown away: its slaves need not finish.
      if (slot == sp.master) stop_split_point(sp, slot);
      break;
    }
    if (pruned) {
      sp.bestValue = std::max(sp.bestValue, bestValue);
      continue;
    }
    if (sp.cutoff) break;
    if (v > sp.bestValue) {
      sp.bestValue = v;
      if (v > sp.node.alpha) {
        sp.bestMove = m;
        if (v >= node.beta) {
          stop_split_point(sp, slot);
          break;
        }
        if (node.nodeType == PvNode) sp.node.alpha = v;
      }
    }
  }
  if (slot != sp.master) sp.slaves[slot] = false;
  sp.workers--;
  sp.lock.unlock();
}

void join_split_point(int slot) {
  SearchThread& th = SearchThreads[slot];
  SplitPoint& sp = *Pool.slots[slot].currentSplit;
  Position pos = sp.pos;
  pos.ThreadSlot = slot;
  take_up_line(th, sp);
  split_point_search(th, pos, sp);
}
