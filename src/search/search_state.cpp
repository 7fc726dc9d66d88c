#include "search/search_state.h"

#include <cstring>

#include "search/hooks.h"
#include "search/score.h"

namespace classic {
SearchState Search;
SearchSettings SearchConfig;
SearchReports Reports;
RootHooks Hooks;

void clear_stack(SearchStack& ss) {
  memset(&ss, 0, sizeof ss);
  for (int& v : ss.staticEval) v = SCORE_NONE;
}

uint64_t total_nodes() {
  uint64_t sum = 0;
  for (const auto& n : Search.nodes) sum += n.count.load(std::memory_order_relaxed);
  return sum;
}
}  // namespace classic
