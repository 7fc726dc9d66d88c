#include "search/threads.h"

#include "search/search_state.h"
#include "search/time.h"
#include "search/tt.h"

namespace classic {

ThreadPool<ClassicThreads> Pool;

ThreadPool<ClassicThreads>& ClassicThreads::pool() { return Pool; }

void ClassicThreads::save_line(Line& line, int thread, const Node&) { line.stack = Search.stacks[thread]; }

// Nodes look two plies back (whether the evaluation is improving), so the helper
// takes the line from there.
void ClassicThreads::take_up_line(int thread, const Line& line, const Node& node) {
  const SearchStack& from = line.stack;
  SearchStack& to = Search.stacks[thread];
  const int first = node.ply >= 2 ? node.ply - 2 : 0;
  copy_plies_from(to.killers, from.killers, first);
  copy_plies_from(to.currentMove, from.currentMove, first);
  copy_plies_from(to.excludedMove, from.excludedMove, first);
  copy_plies_from(to.staticEval, from.staticEval, first);
  copy_plies_from(to.skipPruning, from.skipPruning, first);
}

Move ClassicThreads::next_move(const Position& pos, Picker& picker, const Node& node) {
  return classic::next_move(pos, picker, node.hashMove, node.killer1, node.killer2, node.counter1, node.counter2);
}

bool ClassicThreads::enter_move(int thread, int ply, Move m) {
  SearchStack& ss = Search.stacks[thread];
  if (m == ss.excludedMove[ply]) return false;
  ss.currentMove[ply] = m;
  return true;
}

void ClassicThreads::count_node(int thread) { classic::count_node(thread); }

bool ClassicThreads::search_move(Position& pos, const Node& node, Move m, int moveCount, int& bestValue, int& value) {
  return classic::search_move(pos, node, m, moveCount, classify_move(pos, m), bestValue, value);
}

void ClassicThreads::poll_while_waiting() { check_clock_and_input(); }

void set_thread_count(int count) {
  stop_helpers(Pool);
  clear_hash_tables();
  start_helpers(Pool, count);
}

}  // namespace classic
