#include "veltrix/threads.h"

#include "platform/platform.h"
#include "veltrix/engine_options.h"

void set_thread_count(int requested) {
  if (requested == Engine.threadCount) return;
  stop_helpers();
  Engine.threadCount = clamp_thread_count(requested, processor_count());
}

void stop_helpers() {}

bool try_split(SearchThread&, Position&, MovePicker&, const SplitRequest&, int&, Move&) { return false; }
