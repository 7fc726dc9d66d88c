#include "veltrix/history.h"

namespace veltrix {
std::atomic<int> SharedHistory[13][64];

namespace {
void halve_history() {
  for (int piece = 1; piece <= 12; piece++)
    for (std::atomic<int>& v : SharedHistory[piece])
      v.store(v.load(std::memory_order_relaxed) / 2, std::memory_order_relaxed);
}

// Adds to one entry and answers the new value. Threads may lose each other's
// additions here; a history value is only a hint for the move order.
int add_history(Move m, int amount) {
  std::atomic<int>& v = SharedHistory[MovedPiece(m)][To(m)];
  int updated = v.load(std::memory_order_relaxed) + amount;
  v.store(updated, std::memory_order_relaxed);
  return updated;
}
}  // namespace

void history_clear() {
  for (auto& row : SharedHistory)
    for (std::atomic<int>& v : row) v.store(0, std::memory_order_relaxed);
}

void record_cutoff(Move best, int depth, const Move* tried, int triedCount, bool inCheck, Move killers[2]) {
  if (!inCheck && killers[0] != best) {
    killers[1] = killers[0];
    killers[0] = best;
  }
  int bonus = depth * depth;
  if (add_history(best, bonus) >= HistoryLimit) halve_history();
  for (int i = 0; i < triedCount; i++)
    if (tried[i] != best && add_history(tried[i], -bonus) <= -HistoryLimit) halve_history();
}
}  // namespace veltrix
