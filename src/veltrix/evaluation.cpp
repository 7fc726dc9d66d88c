#include "veltrix/evaluation.h"

#include "nnue/board_link.h"
#include "veltrix/engine_options.h"
#include "veltrix/fallback_eval.h"

namespace veltrix {
bool ForceFullRefresh = false;

int evaluate(const Position& pos) { return network_in_use() ? evaluate_network(pos) : evaluate_fallback(pos); }

namespace {
// The records of the position at `ply` and of the two positions before it.
struct LineRecords {
  NnuePlyData* at[3];
  LineRecords(SearchThread& th, int ply)
      : at{&th.nnue[ply], ply >= 1 ? &th.nnue[ply - 1] : nullptr, ply >= 2 ? &th.nnue[ply - 2] : nullptr} {}
};

// Before a move is made, this position's accumulator is brought up to date, so
// that the child always finds its parent's to start from.
void keep_line_current(SearchThread& th, const Position& pos, int ply) {
  if (th.nnue[ply].computed || !network_in_use() || ForceFullRefresh) return;
  update_network_accumulator(pos, LineRecords(th, ply).at);
}
}  // namespace

int evaluate_at(SearchThread& th, const Position& pos, int ply) {
  if (!network_in_use()) return evaluate_fallback(pos);
  if (ForceFullRefresh) return evaluate_network(pos);
  return evaluate_network_incremental(pos, LineRecords(th, ply).at);
}

void play_move(SearchThread& th, Position& pos, Move m, int ply) {
  keep_line_current(th, pos, ply);
  record_move_changes(pos, m, th.nnue[ply + 1]);
  make_move(pos, m, ply + 1);
}

void take_back(Position& pos, Move m, int ply) { unmake_move(pos, m, ply + 1); }

void play_null_move(SearchThread& th, Position& pos, int ply) {
  keep_line_current(th, pos, ply);
  record_move_changes(pos, 0, th.nnue[ply + 1]);
  make_null_move(pos, ply + 1);
}

void take_back_null_move(Position& pos, int ply) { unmake_null_move(pos, ply + 1); }

void reset_line(SearchThread& th) { th.nnue[0].computed = 0; }
}  // namespace veltrix
