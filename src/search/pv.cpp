#include "search/pv.h"

#include "search/picker.h"
#include "search/score.h"
#include "search/search_state.h"
#include "search/tt.h"

namespace {
// The root move plus its continuation never go deeper than the undo stack.
constexpr int MaxPvLength = MaxPly - 1;

void unmake_line(Position& pos, const Move* line, int length) {
  for (int i = length - 1; i >= 0; i--) unmake_move(pos, line[i], i + 1);
}
}  // namespace

void pv_to_table(Position& root) {
  Move* pv = Search.PrincipalVariation;
  Move line[MaxPvLength];
  line[0] = Search.rootBestMove;
  make_move(root, line[0], 1);
  int length = 1;
  while (length < MaxPvLength && pv[length] && move_is_legal_here(root, pv[length])) {
    TTEntry entry;
    if (!tt_probe(root.HashKey, entry) || entry.move != pv[length])
      tt_store(root.HashKey, BOUND_NONE, SCORE_NONE, pv[length], TTPvDepth);
    line[length] = pv[length];
    make_move(root, pv[length], length + 1);
    length++;
  }
  pv[length] = 0;
  unmake_line(root, line, length);
}

void pv_from_table(Position& root, Move rootMove) {
  Move* pv = Search.PrincipalVariation;
  Move line[MaxPvLength];
  line[0] = rootMove;
  make_move(root, rootMove, 1);
  int length = 1;
  TTEntry entry;
  while (length < MaxPvLength && tt_probe(root.HashKey, entry) && entry.move && move_is_legal_here(root, entry.move)) {
    line[length] = pv[length] = entry.move;
    make_move(root, entry.move, length + 1);
    length++;
  }
  pv[length] = 0;
  unmake_line(root, line, length);
}
