// The helper threads of the classic search and what they share at split points.
#pragma once

#include "engine/split_points.h"
#include "search/picker.h"
#include "search/search_move.h"
#include "search/search_state.h"
#include "search/time.h"

namespace classic {
// What the shared split-point mechanism needs of the classic search.
struct ClassicThreads {
  static constexpr int MaxThreads = ::MaxThreads;
  struct Line {
    SearchStack stack;
  };
  using Picker = MovePicker;
  using Node = NodeFrame;

  static void save_line(Line& line, int thread, const Node&) { line.stack = Search.stacks[thread]; }
  // Nodes look two plies back (whether the evaluation is improving), so a helper
  // takes the line from there.
  static void take_up_line(int thread, const Line& line, const Node& node) {
    const SearchStack& from = line.stack;
    SearchStack& to = Search.stacks[thread];
    const int first = node.ply >= 2 ? node.ply - 2 : 0;
    copy_plies_from(to.killers, from.killers, first);
    copy_plies_from(to.currentMove, from.currentMove, first);
    copy_plies_from(to.excludedMove, from.excludedMove, first);
    copy_plies_from(to.staticEval, from.staticEval, first);
    copy_plies_from(to.skipPruning, from.skipPruning, first);
  }
  static Move next_move(const Position& pos, Picker& p, const Node& n) {
    return classic::next_move(pos, p, n.hashMove, n.killer1, n.killer2, n.counter1, n.counter2);
  }
  static bool enter_move(int thread, int ply, Move m) {
    SearchStack& ss = Search.stacks[thread];
    if (m == ss.excludedMove[ply]) return false;
    ss.currentMove[ply] = m;
    return true;
  }
  static void count_node(int thread) { classic::count_node(thread); }
  static bool search_move(Position& pos, const Node& node, Move m, int moveCount, int& bestValue, int& value) {
    return classic::search_move(pos, node, m, moveCount, classify_move(pos, m), bestValue, value);
  }
  static void poll_while_waiting() { check_clock_and_input(); }
  // The moves a quiet refutation's history update punishes.
  static bool history_move(Move m) { return !is_tactical(m); }
  static ThreadPool<ClassicThreads>& pool();
};

extern ThreadPool<ClassicThreads> Pool;
inline ThreadPool<ClassicThreads>& ClassicThreads::pool() { return Pool; }

// Offers the rest of the node's moves to idle helpers (see SplitSearch::try_split).
inline bool try_split(Position& pos, MovePicker& picker, const NodeFrame& node, int& moveCount, int& bestValue,
                      Move& bestMove, Move* quiets, int& quietCount) {
  return SplitSearch<ClassicThreads>::try_split(Pool, pos, picker, node, moveCount, bestValue, bestMove, quiets,
                                                quietCount);
}

// The Threads option: the helpers of the old count stop, the four tables are
// emptied, and count - 1 helpers start.
void set_thread_count(int count);
inline int thread_count() { return Pool.threadCount; }
}  // namespace classic
