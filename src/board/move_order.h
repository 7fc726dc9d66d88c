// Ordering a move list by its scores, for the move pickers of both searches.
#pragma once

#include "board/movegen.h"

// Moves the best remaining entry of from..to into `from`; the first maximum wins.
inline void select_best(MoveList& list, int from, int to) {
  int best = from;
  for (int i = from + 1; i <= to; i++)
    if (list.moves[i].score > list.moves[best].score) best = i;
  if (best != from) {
    MoveEntry e = list.moves[from];
    list.moves[from] = list.moves[best];
    list.moves[best] = e;
  }
}

// Stable descending sort of entries from..to: an entry moves past its neighbour only
// when the neighbour scores strictly more, so equal scores keep generation order.
inline void sort_moves(MoveList& list, int from, int to) {
  for (int i = to - 1; i >= from; i--) {
    MoveEntry e = list.moves[i];
    int j = i;
    while (j < to && list.moves[j + 1].score > e.score) {
      list.moves[j] = list.moves[j + 1];
      j++;
    }
    list.moves[j] = e;
  }
}
