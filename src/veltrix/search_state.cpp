#include "veltrix/search_state.h"

#include "veltrix/hash_table.h"

namespace veltrix {
SearchState Search;
TranspositionTable TT{VeltrixTableLayout};
SearchThread SearchThreads[MaxSearchThreads];

uint64_t total_nodes() {
  uint64_t sum = 0;
  for (const SearchThread& th : SearchThreads) sum += th.nodes.load(std::memory_order_relaxed);
  return sum;
}
}  // namespace veltrix
