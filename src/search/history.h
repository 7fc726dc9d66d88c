// The ordering tables learned during one search: history, counter moves and
// killers, with the rules that update them after a quiet move refutes a node.
#pragma once

#include "board/position.h"
#include "search/search_state.h"

namespace classic {
// Per thread slot, by moving piece and destination square. Each thread writes
// only its own slot.
extern int History[MaxThreads][13][64];
// Indexed by the previous move's piece and destination: its latest refutations.
extern Move CounterMove1[MaxThreads][13][64];
extern Move CounterMove2[MaxThreads][13][64];

// History values are halved once one of them grows this large, so recent
// successes weigh more than old ones.
constexpr int HistoryLimit = 5000;

void clear_ordering_tables();

void update_killers_and_counters(int thread, SearchStack& ss, Move previousMove, Move hashMove, Move bestMove, int ply);
void update_history(int thread, Move bestMove, int depth, const Move* quietList, int quietCount);
}  // namespace classic
