// The evaluation the search of veltrix uses: the network when NNUE_Eval is on
// and a network is loaded, the hand-made fallback otherwise.
#pragma once

#include "board/position.h"
#include "veltrix/search_state.h"

namespace veltrix {
// Rebuilds every network accumulator from scratch instead of updating it from
// the parent position's. The scores are the same bit for bit; the switch exists
// to prove that and to measure what the updates save.
extern bool ForceFullRefresh;

// Centipawns for the side to move, computed from scratch.
int evaluate(const Position& pos);
// The same score for the position at `ply` of the thread's current line, whose
// accumulators the moves of the line have kept up to date.
int evaluate_at(SearchThread& th, const Position& pos, int ply);

// Making and taking back a move at `ply` (the child is at ply + 1), noting the
// pieces it changes for the child's accumulator.
void play_move(SearchThread& th, Position& pos, Move m, int ply);
void take_back(Position& pos, Move m, int ply);
void play_null_move(SearchThread& th, Position& pos, int ply);
void take_back_null_move(Position& pos, int ply);
// A new root position: nothing of the earlier line's accumulators fits it.
void reset_line(SearchThread& th);
}  // namespace veltrix
