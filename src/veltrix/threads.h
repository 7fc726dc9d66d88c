// The helper threads of veltrix and what they share at split points.
#pragma once

#include "engine/split_points.h"
#include "veltrix/picker.h"
#include "veltrix/search.h"
#include "veltrix/search_move.h"
#include "veltrix/search_state.h"
#include "veltrix/time.h"

namespace veltrix {
// What the shared split-point mechanism needs of veltrix's search.
struct VeltrixThreads {
  static constexpr int MaxThreads = MaxSearchThreads;
  // The master's line, with the network accumulator of the node, the base of
  // every child's.
  struct Line {
    SearchStack stack;
    NnuePlyData nnue;
  };
  using Picker = MovePicker;
  using Node = NodeFrame;

  static void save_line(Line& line, int thread, const Node& node) {
    line.stack = SearchThreads[thread].stack;
    line.nnue = SearchThreads[thread].nnue[node.ply];
  }
  // A helper works only on the plies from the split point on.
  static void take_up_line(int thread, const Line& line, const Node& node) {
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
  static Move next_move(const Position& pos, Picker& picker, const Node&) { return veltrix::next_move(pos, picker); }
  static bool enter_move(int thread, int ply, Move m) {
    SearchStack& ss = SearchThreads[thread].stack;
    if (m == ss.excludedMove[ply]) return false;
    ss.currentMove[ply] = m;
    return true;
  }
  static void count_node(int thread) { veltrix::count_node(SearchThreads[thread]); }
  static bool search_move(Position& pos, const Node& node, Move m, int moveCount, int& bestValue, int& value) {
    const MoveFacts facts = facts_of(pos, m);
    if (prunes_move(pos, node, m, facts, moveCount, bestValue)) return false;
    value = veltrix::search_move(SearchThreads[pos.ThreadSlot], pos, node, m, facts, moveCount);
    return true;
  }
  static void poll_while_waiting() { poll_search(); }
  // The moves a quiet refutation's history update punishes.
  static bool history_move(Move m) { return is_quiet(m); }
  static ThreadPool<VeltrixThreads>& pool();
};

extern ThreadPool<VeltrixThreads> Pool;
inline ThreadPool<VeltrixThreads>& VeltrixThreads::pool() { return Pool; }

inline bool try_split(Position& pos, MovePicker& picker, const NodeFrame& node, int& moveCount, int& bestValue,
                      Move& bestMove, Move* tried, int& triedCount) {
  return SplitSearch<VeltrixThreads>::try_split(Pool, pos, picker, node, moveCount, bestValue, bestMove, tried,
                                                triedCount);
}

inline int thread_count() { return Pool.threadCount; }
// The search threads a Threads value gives on a machine with `processors`.
int clamp_thread_count(int requested, int processors);
// The Threads option: a value equal to the current count changes nothing;
// otherwise the helpers of the old count are stopped, the count becomes the value
// within 1..min(processors, 16), and count - 1 helpers are started.
void set_thread_count(int requested);
}  // namespace veltrix
