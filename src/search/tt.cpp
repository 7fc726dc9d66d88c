#include "search/tt.h"

#include "eval/eval_cache.h"

namespace classic {
TranspositionTable TT{ClassicTableLayout};

void clear_hash_tables() {
  TT.clear();
  clear_eval_caches();
}
}  // namespace classic
