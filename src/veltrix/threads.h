// The helper threads of veltrix and what they share at split points.
#pragma once

#include "engine/split_points.h"
#include "veltrix/picker.h"
#include "veltrix/search_move.h"
#include "veltrix/search_state.h"

namespace veltrix {

// What the shared split-point mechanism needs of veltrix's search.
struct VeltrixThreads {
  static constexpr int MaxThreads = MaxSearchThreads;
  // The master's line from the split point on, with the network accumulator of
  // the node, the base of every child's.
  struct Line {
    SearchStack stack;
    NnuePlyData nnue;
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
  static ThreadPool<VeltrixThreads>& pool();
};

extern ThreadPool<VeltrixThreads> Pool;

inline bool try_split(Position& pos, MovePicker& picker, const NodeFrame& node, int& moveCount, int& bestValue,
                      Move& bestMove) {
  return SplitSearch<VeltrixThreads>::try_split(Pool, pos, picker, node, moveCount, bestValue, bestMove);
}

inline int thread_count() { return Pool.threadCount; }
// The search threads a Threads value gives on a machine with `processors`.
int clamp_thread_count(int requested, int processors);
// The Threads option: a value equal to the current count changes nothing;
// otherwise the helpers of the old count are stopped, the count becomes the value
// within 1..min(processors, 16), and count - 1 helpers are started.
void set_thread_count(int requested);

}  // namespace veltrix
