#include "search/tt.h"

#include <cstdio>

#include "eval/eval_cache.h"

namespace classic {
TranspositionTable TT{ClassicTableLayout};

void clear_hash_tables() {
  TT.clear();
  clear_eval_caches();
}

void allocate_tables() {
  if (TT.deferred()) {
    const int wanted = TT.megabytes;
    const int obtained = TT.allocate_deferred(TableDefaultMegabytes);
    if (obtained != wanted && wanted != TableDefaultMegabytes)
      printf("info string error: could not allocate %d MB for the transposition table, keeping the previous size\n",
             wanted);
    if (!obtained) printf("info string error: could not allocate the transposition table\n");
  }
  if (!allocate_deferred_eval_caches()) printf("info string error: could not allocate the evaluation caches\n");
}
}  // namespace classic
