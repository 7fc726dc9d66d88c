#include "veltrix/engine_options.h"

#include <cstring>

#include "nnue/nnue.h"

namespace veltrix {
EngineOptions Engine;
ClockRecord Clock;

bool set_nnue_file(const char* name) {
  size_t length = strlen(name);
  // Cutting a long name would silently load some other file later.
  if (length >= sizeof Engine.nnueFile) return false;
  memcpy(Engine.nnueFile, name, length + 1);
  return true;
}

bool network_in_use() { return Engine.nnueEval && NnueLoaded; }
}  // namespace veltrix
