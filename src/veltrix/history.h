// The history table of veltrix: how often a quiet move (by moving piece and
// destination) refuted a node in this search. One table for all search threads,
// written without locks.
#pragma once

#include <atomic>

#include "board/types.h"

namespace veltrix {
// Once an entry grows this large either way, the whole table is halved, so
// recent successes weigh more than old ones.
constexpr int HistoryLimit = 50000;

extern std::atomic<int> SharedHistory[13][64];

inline int history_of(Move m) { return SharedHistory[MovedPiece(m)][To(m)].load(std::memory_order_relaxed); }

void history_clear();
// After a quiet move cut off a node at `depth`: the move gains depth squared, every
// other quiet move tried before it loses as much. The killers shift when the
// side to move was not in check.
void record_cutoff(Move best, int depth, const Move* tried, int triedCount, bool inCheck, Move killers[2]);
}  // namespace veltrix
