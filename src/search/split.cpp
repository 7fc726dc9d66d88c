#include "search/split.h"

#include <algorithm>
#include <thread>

#include "search/search_state.h"

namespace {

// Young brothers wait: a helper joins when it has nothing to do. A thread that
// still owns split points takes work only from a thread that helps it, so that it
// is back when its own helpers finish; with a single helper no such tangle can
// arise.
bool helper_available(int helper, int master) {
  if (helper == master || !Pool.crew.members[helper].idle) return false;
  int owned = Pool.slots[helper].splitCount;
  return owned == 0 || Pool.threadCount == 2 || Pool.splitPoints[helper][owned - 1].helpers[master];
}

bool any_helper_available(int master) {
  for (int i = 1; i < Pool.threadCount; i++)
    if (helper_available(i, master)) return true;
  return false;
}

SplitPoint& open_split_point(Position& pos, MovePicker& picker, const NodeFrame& node, int moveCount, int bestValue,
                             Move bestMove) {
  const int master = pos.ThreadSlot;
  PoolSlot& owner = Pool.slots[master];
  SplitPoint& sp = Pool.splitPoints[master][owner.splitCount];
  sp.parent = owner.currentSplit;
  owner.splitCount++;
  sp.master = master;
  sp.pos = pos;
  sp.stack = Search.stacks[master];
  sp.picker = picker;
  sp.node = node;
  sp.moveCount = moveCount;
  sp.bestValue = bestValue;
  sp.bestMove = bestMove;
  sp.cutoff = false;
  sp.workers = 1;
  for (auto& helper : sp.helpers) helper = false;
  owner.currentSplit = &sp;
  return sp;
}

void recruit_helpers(SplitPoint& sp) {
  for (int i = 1; i < Pool.threadCount && sp.workers <= MaxHelpersPerSplit; i++) {
    if (!helper_available(i, sp.master)) continue;
    PoolSlot& slot = Pool.slots[i];
    CrewMember& member = Pool.crew.members[i];
    sp.helpers[i] = true;
    sp.workers++;
    slot.currentSplit = &sp;
    slot.abort = false;
    member.idle = false;
    member.hasWork = true;
  }
}

// Once its split point is finished, the master's flag says only whether the rest
// of its work is useless: so it is after a fail high at a split point above, one
// it owns further up or the one it helps at (where its work began). The fail high
// at the split point just finished is the node's result and stops nothing.
void restore_abort(int master, const SplitPoint* from) {
  if (master == 0) return;  // the main thread stops only with the whole search
  std::atomic<bool>& abort = Pool.slots[master].abort;
  abort = false;
  for (const SplitPoint* sp = from; sp; sp = sp->parent) {
    if (sp->cutoff) {
      abort = true;
      return;
    }
    if (sp->master != master) return;
  }
}

void close_split_point(SplitPoint& sp, int& bestValue, Move& bestMove) {
  PoolSlot& owner = Pool.slots[sp.master];
  bestValue = sp.bestValue;
  bestMove = sp.bestMove;
  owner.splitCount--;
  owner.currentSplit = sp.parent;
  restore_abort(sp.master, sp.parent);
}

// Nobody takes another move here, and whatever the helpers (and a master other
// than the main thread) are searching below this node is of no use any more.
// Under sp.lock.
void stop_split_point(SplitPoint& sp) {
  sp.cutoff = true;
  for (int i = 1; i < Pool.threadCount; i++)
    if (i == sp.master || sp.helpers[i]) Pool.slots[i].abort = true;
}

}  // namespace

bool try_split(Position& pos, MovePicker& picker, const NodeFrame& node, int moveCount, int& bestValue,
               Move& bestMove) {
  const int master = pos.ThreadSlot;
  // A look without the lock: most calls find every helper busy.
  if (!any_helper_available(master)) return false;
  Pool.splitLock.lock();
  // Once the helpers are told to leave, none may be handed work they would not do.
  if (Pool.crew.exitFlag || Pool.slots[master].splitCount >= MaxSplitsPerThread || !any_helper_available(master)) {
    Pool.splitLock.unlock();
    return false;
  }
  SplitPoint& sp = open_split_point(pos, picker, node, moveCount, bestValue, bestMove);
  recruit_helpers(sp);
  Pool.splitLock.unlock();

  split_point_search(pos, sp);
  // No move is left to take: the helpers finish the ones they hold.
  while (sp.workers > 0) std::this_thread::yield();

  Pool.splitLock.lock();
  close_split_point(sp, bestValue, bestMove);
  Pool.splitLock.unlock();
  return true;
}

void split_point_search(Position& pos, SplitPoint& sp) {
  const int thread = pos.ThreadSlot;
  SearchStack& ss = Search.stacks[thread];
  count_node(thread);
  sp.lock.lock();
  NodeFrame node = sp.node;
  const int ply = node.ply;
  while (!sp.cutoff) {
    Move m = next_move(pos, sp.picker, node.hashMove, node.killer1, node.killer2, node.counter1, node.counter2);
    if (!m) break;
    // A singular search shares its moves too, and its excluded move stays out.
    if (m == ss.excludedMove[ply]) continue;
    const int moveCount = ++sp.moveCount;
    ss.currentMove[ply] = m;
    node.alpha = sp.node.alpha;
    int bestValue = sp.bestValue;
    sp.lock.unlock();

    const MoveTraits traits = classify_move(pos, m);
    int v;
    const bool searched = search_move(pos, node, m, moveCount, traits, bestValue, v);

    sp.lock.lock();
    if (search_stopped(thread)) {
      // The master's result will be thrown away: its helpers need not finish.
      if (thread == sp.master) stop_split_point(sp);
      break;
    }
    if (!searched) {
      sp.bestValue = std::max(sp.bestValue, bestValue);
      continue;
    }
    if (sp.cutoff) break;
    if (v > sp.bestValue) {
      sp.bestValue = v;
      if (v > sp.node.alpha) {
        sp.bestMove = m;
        if (v >= node.beta) {
          stop_split_point(sp);
          break;
        }
        if (node.pvNode) sp.node.alpha = v;
      }
    }
  }
  if (thread != sp.master) sp.helpers[thread] = false;
  sp.workers--;
  sp.lock.unlock();
}
