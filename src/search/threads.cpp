#include "search/threads.h"

#include <system_error>

#include "search/search_state.h"
#include "search/split.h"
#include "search/thread_pool.h"
#include "search/tt.h"
#include "uci/options.h"

ThreadPool Pool;

namespace {

// Waits for another thread that may first have to be scheduled: on a busy machine
// it needs the processor we would spin on.
template <typename Condition>
void wait_until(Condition done) {
  while (!done()) std::this_thread::yield();
}

// Between searches a helper sleeps; during one it spins so that it can join a
// split point the moment one is offered, giving its turn away only when another
// thread needs the processor. Work handed to it is always done, even when it is
// told to leave meanwhile: its master waits for it.
void helper_loop(int slot) {
  PoolSlot& self = Pool.slots[slot];
  while (!(Pool.exitFlag && !self.hasWork)) {
    if (self.hasWork) {
      SplitPoint& sp = *self.currentSplit;
      self.position = sp.pos;
      self.position.ThreadSlot = slot;
      Search.stacks[slot] = sp.stack;
      split_point_search(self.position, sp);
      self.hasWork = false;
      self.idle = true;
    } else if (Pool.sleepFlag) {
      self.idle = false;
      self.waiting = true;
      self.event.wait();
      self.waiting = false;
      self.hasWork = false;
      self.idle = true;
    } else {
      std::this_thread::yield();
    }
  }
}

bool running(int slot) { return Pool.slots[slot].handle.joinable(); }

void reset_slot(PoolSlot& slot) {
  slot.waiting = slot.idle = slot.hasWork = slot.abort = false;
  slot.currentSplit = nullptr;
  slot.splitCount = 0;
}

}  // namespace

void start_threads() {
  Pool.sleepFlag = true;
  Pool.exitFlag = false;
  Pool.threadCount = Options.threads;
  reset_slot(Pool.slots[0]);
  for (int slot = 1; slot < Pool.threadCount; slot++) {
    PoolSlot& helper = Pool.slots[slot];
    reset_slot(helper);
    helper.event.reset();
    try {
      helper.handle = std::thread(helper_loop, slot);
    } catch (const std::system_error&) {
      continue;  // a slot without a thread is never idle, so never recruited
    }
    wait_until([&] { return helper.waiting.load(); });
  }
}

void stop_threads() {
  // A "quit" may arrive while the helpers are searching: they see the stop at
  // their next node and come back to their loops.
  Search.stopFlag = true;
  // Under the lock of try_split: a split point opened before this has handed out
  // its work already, and none is opened afterwards.
  Pool.splitLock.lock();
  Pool.exitFlag = true;
  Pool.splitLock.unlock();
  if (Pool.sleepFlag) wake_helpers();
  for (int slot = 1; slot < MaxThreads; slot++)
    if (running(slot)) Pool.slots[slot].handle.join();
  Pool.threadCount = 1;
}

void wake_helpers() {
  PoolSlot& main = Pool.slots[0];
  main.splitCount = 0;
  main.idle = main.hasWork = false;
  Pool.sleepFlag = false;
  for (int slot = 1; slot < Pool.threadCount; slot++) {
    if (!running(slot)) continue;
    PoolSlot& helper = Pool.slots[slot];
    helper.event.set();
    wait_until([&] { return !helper.waiting; });
    helper.splitCount = 0;
  }
}

void sleep_helpers() {
  Pool.sleepFlag = true;
  for (int slot = 1; slot < Pool.threadCount; slot++) {
    if (!running(slot)) continue;
    PoolSlot& helper = Pool.slots[slot];
    helper.event.reset();
    wait_until([&] { return helper.waiting.load(); });
  }
}

void set_thread_count(int count) {
  if (Options.threads > 1) stop_threads();
  Options.threads = count;
  tt_clear();
  if (count > 1) start_threads();
}
