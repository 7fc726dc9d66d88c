// The per-thread search stack: what each ply of the current line remembers.
#pragma once

#include <cstdint>

#include "board/position.h"

namespace classic {

struct SearchStack {
  Move killers[MaxPly][2];
  Move currentMove[MaxPly];   // 0 for the null move
  Move excludedMove[MaxPly];  // the move a singular search leaves out
  int staticEval[MaxPly];     // SCORE_NONE when in check or not computed
  // Set while the node at this ply is searched as a null-move child, a null-move
  // verification, an internal-iterative-deepening or a singular search: such a
  // node only serves its caller and must not prune on its own account.
  uint8_t skipPruning[MaxPly];
};

void clear_stack(SearchStack& ss);

}  // namespace classic
