#include "veltrix/evaluation.h"

#include "nnue/board_link.h"
#include "veltrix/engine_options.h"
#include "veltrix/fallback_eval.h"

namespace veltrix {
bool ForceFullRefresh = false;

int evaluate(const Position& pos) { return network_in_use() ? evaluate_network(pos) : evaluate_fallback(pos); }

int evaluate_at(SearchThread& th, const Position& pos, int ply) {
  if (!network_in_use()) return evaluate_fallback(pos);
  if (ForceFullRefresh) return evaluate_network(pos);
  NnuePlyData* const line[3] = {&th.nnue[ply], ply >= 1 ? &th.nnue[ply - 1] : nullptr,
                                ply >= 2 ? &th.nnue[ply - 2] : nullptr};
  return evaluate_network_incremental(pos, line);
}

namespace {
// Before a move is made, this position's accumulator is brought up to date, so
// that the child always finds its parent's to start from.
void keep_line_current(SearchThread& th, const Position& pos, int ply) {
  if (th.nnue[ply].computed || !network_in_use() || ForceFullRefresh) return;
  NnueLists lists;
  build_piece_lists(pos, lists);
  int side = pos.SideToMove == White ? 0 : 1;
  update_accumulator({side,
                      lists.pieces,
                      lists.squares,
                      {&th.nnue[ply], ply >= 1 ? &th.nnue[ply - 1] : nullptr, ply >= 2 ? &th.nnue[ply - 2] : nullptr}});
}
}  // namespace

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
