#include "search/threads.h"

#include "platform/helper_crew.h"
#include "search/search_state.h"
#include "search/split.h"
#include "search/thread_pool.h"
#include "search/tt.h"
#include "uci/options.h"

ThreadPool Pool;

namespace {

// A helper's share of a split point: the master's board and line as they stood
// when the split point was opened, and its moves.
void join_split_point(int slot) {
  PoolSlot& self = Pool.slots[slot];
  SplitPoint& sp = *self.currentSplit;
  self.position = sp.pos;
  self.position.ThreadSlot = slot;
  Search.stacks[slot] = sp.stack;
  split_point_search(self.position, sp);
}

void reset_slot(PoolSlot& slot) {
  slot.abort = false;
  slot.currentSplit = nullptr;
  slot.splitCount = 0;
}

}  // namespace

void start_threads() {
  Pool.threadCount = Options.threads;
  for (int slot = 0; slot < Pool.threadCount; slot++) reset_slot(Pool.slots[slot]);
  start_crew(Pool.crew, Pool.threadCount, join_split_point);
}

void stop_threads() {
  // A "quit" may arrive while the helpers are searching: they see the stop at
  // their next node and come back to their loops.
  Search.stopFlag = true;
  // Under the lock of try_split: a split point opened before this has handed out
  // its work already, and none is opened afterwards.
  Pool.splitLock.lock();
  Pool.crew.exitFlag = true;
  Pool.splitLock.unlock();
  end_crew(Pool.crew);
  Pool.threadCount = 1;
}

void wake_helpers() {
  wake_crew(Pool.crew);
  for (int slot = 0; slot < Pool.threadCount; slot++) Pool.slots[slot].splitCount = 0;
}

void sleep_helpers() { park_crew(Pool.crew); }

void set_thread_count(int count) {
  if (Options.threads > 1) stop_threads();
  Options.threads = count;
  tt_clear();
  if (count > 1) start_threads();
}
