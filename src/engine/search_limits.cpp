#include "engine/search_limits.h"

SearchLimits Limits;

void restrict_root_moves(MoveList& list) {
  MoveList kept;
  for (int i = 1; i <= list.count; i++)
    for (int j = 0; j < Limits.searchMoveCount; j++)
      if (list.moves[i].move == Limits.searchMoves[j]) kept.moves[++kept.count] = list.moves[i];
  if (kept.count == 0) return;
  kept.tacticalCount = 0;
  list = kept;
}
