#include "veltrix/pv.h"

#include "veltrix/hash_table.h"
#include "veltrix/picker.h"
#include "veltrix/score.h"
#include "veltrix/search_state.h"

namespace {

// The best move and its continuation never go deeper than the search does.
constexpr int MaxLine = MaxSearchPly - 1;

// Moves of a line are made with the plies they would have in the search.
void unmake_line(Position& pos, const Move* line, int length) {
  for (int i = length - 1; i >= 0; i--) unmake_move(pos, line[i], i + 1);
}

}  // namespace

void pv_to_table(Position& root) {
  const Move* pv = Search.pv;
  make_move(root, pv[0], 1);
  int length = 1;
  while (length < MaxLine && pv[length] && move_is_legal_here(root, pv[length])) {
    HashEntry entry;
    bool hit = table_probe(root.HashKey, entry);
    if (!hit || entry.move != pv[length])
      table_store(root.HashKey, BoundNone, ScoreNone, pv[length], -100, hit ? entry.staticEval : ScoreNone);
    make_move(root, pv[length], length + 1);
    length++;
  }
  unmake_line(root, pv, length);
}

void pv_from_table(Position& root) {
  Move* pv = Search.pv;
  make_move(root, pv[0], 1);
  int length = 1;
  HashEntry entry;
  while (length < MaxLine && table_probe(root.HashKey, entry) && entry.move && move_is_legal_here(root, entry.move)) {
    pv[length] = entry.move;
    make_move(root, entry.move, length + 1);
    length++;
  }
  pv[length] = 0;
  unmake_line(root, pv, length);
}

Move ponder_move(Position& root) {
  Move best = Search.pv[0], reply = 0;
  make_move(root, best, 1);
  HashEntry entry;
  if (Search.pv[1] && move_is_legal_here(root, Search.pv[1]))
    reply = Search.pv[1];
  else if (table_probe(root.HashKey, entry) && entry.move && move_is_legal_here(root, entry.move))
    reply = entry.move;
  unmake_move(root, best, 1);
  return reply;
}
