#include "search/history.h"

#include <cstring>

namespace classic {
int History[MaxThreads][13][64];
Move CounterMove1[MaxThreads][13][64];
Move CounterMove2[MaxThreads][13][64];

void clear_ordering_tables() {
  memset(History, 0, sizeof History);
  memset(CounterMove1, 0, sizeof CounterMove1);
  memset(CounterMove2, 0, sizeof CounterMove2);
}

void update_killers_and_counters(int thread, SearchStack& ss, Move previousMove, Move hashMove, Move bestMove,
                                 int ply) {
  Move* killers = ss.killers[ply];
  if (bestMove != hashMove && bestMove != killers[0]) {
    killers[1] = killers[0];
    killers[0] = bestMove;
  }
  if (!previousMove || bestMove == killers[0] || bestMove == killers[1]) return;
  int piece = MovedPiece(previousMove), to = To(previousMove);
  Move& counter1 = CounterMove1[thread][piece][to];
  if (bestMove != counter1) {
    CounterMove2[thread][piece][to] = counter1;
    counter1 = bestMove;
  }
}

namespace {
void halve_history(int thread) {
  for (int piece = 1; piece <= 12; piece++)
    for (int& v : History[thread][piece]) v /= 2;
}
}  // namespace

void update_history(int thread, Move bestMove, int depth, const Move* quietList, int quietCount) {
  int bonus = depth * depth;
  int& best = History[thread][MovedPiece(bestMove)][To(bestMove)];
  best += bonus;
  if (best >= HistoryLimit) halve_history(thread);
  for (int i = 0; i < quietCount; i++) {
    Move m = quietList[i];
    if (m == bestMove) continue;
    int& v = History[thread][MovedPiece(m)][To(m)];
    v -= bonus;
    if (v <= -HistoryLimit) halve_history(thread);
  }
}
}  // namespace classic
