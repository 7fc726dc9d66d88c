#include "veltrix/threads.h"

#include "veltrix/time.h"

namespace veltrix {

ThreadPool<VeltrixThreads> Pool;

ThreadPool<VeltrixThreads>& VeltrixThreads::pool() { return Pool; }

void VeltrixThreads::save_line(Line& line, int thread, const Node& node) {
  line.stack = SearchThreads[thread].stack;
  line.nnue = SearchThreads[thread].nnue[node.ply];
}

// A helper works only on the plies from the split point on: the ones above may
// belong to the line of a master waiting at a split point of its own.
void VeltrixThreads::take_up_line(int thread, const Line& line, const Node& node) {
  const int ply = node.ply;
  SearchThread& th = SearchThreads[thread];
  copy_plies_from(th.stack.currentMove, line.stack.currentMove, ply);
  copy_plies_from(th.stack.killers, line.stack.killers, ply);
  copy_plies_from(th.stack.skipPruning, line.stack.skipPruning, ply);
  copy_plies_from(th.stack.excludedMove, line.stack.excludedMove, ply);
  // Every child's accumulator starts from the node's; the records above it are of
  // another line and must never serve as a base.
  th.nnue[ply] = line.nnue;
  for (int back = 1; back <= 2 && ply - back >= 0; back++) th.nnue[ply - back].computed = 0;
}

Move VeltrixThreads::next_move(const Position& pos, Picker& picker, const Node&) {
  return veltrix::next_move(pos, picker);
}

bool VeltrixThreads::enter_move(int thread, int ply, Move m) {
  SearchStack& ss = SearchThreads[thread].stack;
  if (m == ss.excludedMove[ply]) return false;
  ss.currentMove[ply] = m;
  return true;
}

void VeltrixThreads::count_node(int thread) { veltrix::count_node(SearchThreads[thread]); }

bool VeltrixThreads::search_move(Position& pos, const Node& node, Move m, int moveCount, int& bestValue, int& value) {
  const MoveFacts facts = facts_of(pos, m);
  if (prunes_move(pos, node, m, facts, moveCount, bestValue)) return false;
  value = veltrix::search_move(SearchThreads[pos.ThreadSlot], pos, node, m, facts, moveCount);
  return true;
}

void VeltrixThreads::poll_while_waiting() { poll_search(); }

int clamp_thread_count(int requested, int processors) {
  int maximum = processors < MaxSearchThreads ? processors : MaxSearchThreads;
  if (maximum < 1) maximum = 1;
  return requested < 1 ? 1 : requested > maximum ? maximum : requested;
}

void set_thread_count(int requested) {
  if (requested == Pool.threadCount) return;
  stop_helpers(Pool);
  start_helpers(Pool, clamp_thread_count(requested, processor_count()));
}

}  // namespace veltrix
