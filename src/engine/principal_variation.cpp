#include "engine/principal_variation.h"

#include "board/movegen.h"

namespace {
// The moves of a line are made with the plies they have in the search: the root
// move at ply 1.
void unmake_line(Position& pos, const Move* line, int length) {
  for (int i = length - 1; i >= 0; i--) unmake_move(pos, line[i], i + 1);
}
}  // namespace

void pv_to_table(TranspositionTable& table, Position& root, Move best, Move* pv, int maxLength) {
  const TableLayout& layout = table.layout;
  pv[0] = best;
  make_move(root, best, 1);
  int length = 1;
  while (length < maxLength && pv[length] && move_is_legal_here(root, pv[length])) {
    HashEntry entry;
    bool hit = table.probe(root.HashKey, entry);
    if (!hit || entry.move != pv[length])
      table.store(root.HashKey, BOUND_NONE, layout.noScore, pv[length], layout.emptyDepth,
                  hit ? entry.staticEval : layout.noScore);
    make_move(root, pv[length], length + 1);
    length++;
  }
  unmake_line(root, pv, length);
  pv[length] = 0;
}

void pv_from_table(const TranspositionTable& table, Position& root, Move rootMove, Move* pv, int maxLength) {
  pv[0] = rootMove;
  make_move(root, rootMove, 1);
  int length = 1;
  HashEntry entry;
  while (length < maxLength && table.probe(root.HashKey, entry) && entry.move && move_is_legal_here(root, entry.move)) {
    pv[length] = entry.move;
    make_move(root, entry.move, length + 1);
    length++;
  }
  unmake_line(root, pv, length);
  pv[length] = 0;
}

Move ponder_move(const TranspositionTable& table, Position& root, Move best, Move expected) {
  Move reply = 0;
  make_move(root, best, 1);
  HashEntry entry;
  if (expected && move_is_legal_here(root, expected))
    reply = expected;
  else if (table.probe(root.HashKey, entry) && entry.move && move_is_legal_here(root, entry.move))
    reply = entry.move;
  unmake_move(root, best, 1);
  return reply;
}
