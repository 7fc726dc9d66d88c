// The helper threads of the classic search and what they share at split points.
#pragma once

#include "engine/split_points.h"
#include "search/picker.h"
#include "search/search_move.h"
#include "search/stack.h"

namespace classic {

// What the shared split-point mechanism needs of the classic search.
struct ClassicThreads {
  static constexpr int MaxThreads = ::MaxThreads;
  struct Line {
    SearchStack stack;
  };
  using Picker = MovePicker;
  using Node = NodeFrame;

  static void save_line(Line& line, int thread, const Node& node);
  static void take_up_line(int thread, const Line& line, const Node& node);
  static Move next_move(const Position& pos, Picker& picker, const Node& node);
  static bool enter_move(int thread, int ply, Move m);
  static void count_node(int thread);
  static bool search_move(Position& pos, const Node& node, Move m, int moveCount, int& bestValue, int& value);
  static void poll_while_waiting();
  static ThreadPool<ClassicThreads>& pool();
};

extern ThreadPool<ClassicThreads> Pool;

// Offers the rest of the node's moves to idle helpers (see SplitSearch::try_split).
inline bool try_split(Position& pos, MovePicker& picker, const NodeFrame& node, int& moveCount, int& bestValue,
                      Move& bestMove) {
  return SplitSearch<ClassicThreads>::try_split(Pool, pos, picker, node, moveCount, bestValue, bestMove);
}

// The Threads option: the helpers of the old count stop, the four tables are
// emptied, and count - 1 helpers start.
void set_thread_count(int count);
inline int thread_count() { return Pool.threadCount; }

}  // namespace classic
