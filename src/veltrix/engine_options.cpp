#include "veltrix/engine_options.h"

#include <cstring>

#include "nnue/nnue.h"

EngineOptions Engine;
ClockRecord Clock;

int clamp_hash_megabytes(int requested) {
  return requested < 1 ? 1 : requested > MaxHashMegabytes ? MaxHashMegabytes : requested;
}

int clamp_thread_count(int requested, int processors) {
  int maximum = processors < MaxSearchThreads ? processors : MaxSearchThreads;
  if (maximum < 1) maximum = 1;
  return requested < 1 ? 1 : requested > maximum ? maximum : requested;
}

bool set_nnue_file(const char* name) {
  size_t length = strlen(name);
  // Cutting a long name would silently load some other file later.
  if (length >= sizeof Engine.nnueFile) return false;
  memcpy(Engine.nnueFile, name, length + 1);
  return true;
}

bool network_in_use() { return Engine.nnueEval && NnueLoaded; }
