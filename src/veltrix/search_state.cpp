#include "veltrix/search_state.h"

namespace veltrix {
SearchState Search;
SearchThread SearchThreads[MaxSearchThreads];

uint64_t total_nodes() {
  uint64_t sum = 0;
  for (const SearchThread& th : SearchThreads) sum += th.nodes.load(std::memory_order_relaxed);
  return sum;
}
}  // namespace veltrix
