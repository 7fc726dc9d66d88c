#include "search/threads.h"

#include "search/tt.h"
#include "uci/options.h"

void set_thread_count(int count) {
  stop_threads();
  Options.threads = count;
  tt_clear();
}

void stop_threads() {}
