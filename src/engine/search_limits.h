// The limits of a search that both programs read the same way from "go" and their
// options: a node count, the root moves to consider, and the time kept back for
// the interface.
#pragma once

#include <cstdint>

#include "board/movegen.h"

struct SearchLimits {
  uint64_t nodes = 0;       // the search stops once this many are searched; 0 for no limit
  int searchMoveCount = 0;  // "searchmoves": only these root moves; 0 for every move
  Move searchMoves[256];
  // "Move Overhead": milliseconds taken off every time limit for the lag of the
  // interface and the network. An option, so it outlives each "go".
  int moveOverheadMs = 10;
};

extern SearchLimits Limits;

// Keeps the root moves whose entries (numbered from 1) pass the test, in their
// order; all of them when none passes.
template <typename Test>
void keep_root_moves(MoveList& list, Test keep) {
  MoveList kept;
  for (int i = 1; i <= list.count; i++)
    if (keep(i)) kept.moves[++kept.count] = list.moves[i];
  if (kept.count > 0) list = kept;
}

// Keeps the root moves that "searchmoves" names; all of them when it names none
// that is legal here.
void restrict_root_moves(MoveList& list);
// Whether the node limit has been reached.
inline bool node_limit_reached(uint64_t nodes) { return Limits.nodes && nodes >= Limits.nodes; }
// A time limit less the overhead, never below 1 ms.
inline int64_t without_overhead(int64_t ms) { return ms - Limits.moveOverheadMs > 1 ? ms - Limits.moveOverheadMs : 1; }
