#include "search/stack.h"

#include <cstring>

#include "search/score.h"

namespace classic {

void clear_stack(SearchStack& ss) {
  memset(&ss, 0, sizeof ss);
  for (int& v : ss.staticEval) v = SCORE_NONE;
}

}  // namespace classic
