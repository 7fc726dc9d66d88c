#include "search/threads.h"

#include "search/tt.h"

namespace classic {
ThreadPool<ClassicThreads> Pool;

void set_thread_count(int count) {
  stop_helpers(Pool);
  clear_hash_tables();
  start_helpers(Pool, count);
}
}  // namespace classic
