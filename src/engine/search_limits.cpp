#include "engine/search_limits.h"

SearchLimits Limits;

void restrict_root_moves(MoveList& list) {
  keep_root_moves(list, [&list](int i) {
    for (int j = 0; j < Limits.searchMoveCount; j++)
      if (list.moves[i].move == Limits.searchMoves[j]) return true;
    return false;
  });
}
