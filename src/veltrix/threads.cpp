#include "veltrix/threads.h"

namespace veltrix {
ThreadPool<VeltrixThreads> Pool;

int clamp_thread_count(int requested, int processors) {
  int maximum = processors < MaxSearchThreads ? processors : MaxSearchThreads;
  if (maximum < 1) maximum = 1;
  return requested < 1 ? 1 : requested > maximum ? maximum : requested;
}

void set_thread_count(int requested) {
  if (requested == Pool.threadCount) return;
  stop_helpers(Pool);
  start_helpers(Pool, clamp_thread_count(requested, processor_count()));
}
}  // namespace veltrix
