#include "board/perft.h"

#include <cinttypes>
#include <cstdio>

#include "board/movegen.h"
#include "board/movetext.h"
#include "platform/platform.h"

uint64_t perft(Position& pos, int depth, int ply) {
  if (depth <= 0) return 1;
  MoveList list;
  generate_legal(pos, list);
  if (depth == 1) return uint64_t(list.count);  // the moves are legal: count them, don't play them
  uint64_t nodes = 0;
  for (int i = 1; i <= list.count; i++) {
    Move m = list.moves[i].move;
    make_move(pos, m, ply);
    nodes += perft(pos, depth - 1, ply + 1);
    unmake_move(pos, m, ply);
  }
  return nodes;
}

void perft_divide(Position& pos, int depth) {
  uint64_t start = now_ms(), total = 1;
  if (depth > 0) {
    total = 0;
    MoveList list;
    generate_legal(pos, list);
    for (int i = 1; i <= list.count; i++) {
      Move m = list.moves[i].move;
      make_move(pos, m, 2);
      uint64_t n = perft(pos, depth - 1, 3);
      unmake_move(pos, m, 2);
      printf("%s: %" PRIu64 "\n", move_text(m).c_str(), n);
      total += n;
    }
  }
  uint64_t ms = now_ms() - start;
  printf("\nNodes searched: %" PRIu64 "\n", total);
  printf("Time: %" PRIu64 " ms, NPS: %" PRIu64 "\n", ms, ms ? total * 1000 / ms : total * 1000);
}
