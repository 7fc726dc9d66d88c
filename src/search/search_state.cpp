#include "search/search_state.h"

#include "search/hooks.h"
#include "search/settings.h"

namespace classic {

SearchState Search;
SearchSettings SearchConfig;
SearchReports Reports;
RootHooks Hooks;

uint64_t total_nodes() {
  uint64_t sum = 0;
  for (const auto& n : Search.nodes) sum += n.load(std::memory_order_relaxed);
  return sum;
}

}  // namespace classic
