#include "veltrix/threads.h"

#include "platform/helper_crew.h"
#include "platform/platform.h"
#include "veltrix/engine_options.h"
#include "veltrix/split.h"
#include "veltrix/split_point.h"

ThreadPool Pool;

namespace {

void start_helpers() {
  for (PoolSlot& slot : Pool.slots) {
    slot.currentSplit = nullptr;
    slot.splitCount = 0;
  }
  start_crew(Pool.crew, Engine.threadCount, join_split_point);
}

}  // namespace

void set_thread_count(int requested) {
  if (requested == Engine.threadCount) return;
  stop_helpers();
  Engine.threadCount = clamp_thread_count(requested, processor_count());
  if (Engine.threadCount >= 2) start_helpers();
}

void stop_helpers() {
  Pool.crew.exitFlag = true;
  end_crew(Pool.crew);
}

void wake_helpers() {
  for (PoolSlot& slot : Pool.slots) slot.splitCount = 0;
  wake_crew(Pool.crew);
}

void park_helpers() { park_crew(Pool.crew); }
