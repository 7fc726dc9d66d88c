// The staged move picker: hands out one move at a time, trying the hash move
// before anything is generated, then good captures, killers, counter moves,
// quiet moves by history and losing captures last.
#pragma once

#include "board/move_order.h"
#include "board/movegen.h"

namespace classic {
// Stage numbers. The caller starts a picker at MainHash (not in check),
// EvasionHash (in check), CaptureHash (quiescence and ProbCut) or
// CaptureEvasionHash (quiescence in check).
enum PickerStage : int {
  PickerDone = 0,
  MainHash = 1,
  MainGenerateCaptures,
  MainGoodCaptures,
  MainKillers,
  MainCounters,
  MainGenerateQuiets,
  MainQuiets,
  MainBadCaptures,
  EvasionHash = 9,
  EvasionGenerate,
  Evasions,
  CaptureHash = 12,
  CaptureGenerate,
  Captures,
  CaptureEvasionHash = 15,
  CaptureEvasionGenerate,
  CaptureEvasions,
};

struct MovePicker {
  // Entries from 1: the captures and promotions occupy 1..list.tacticalCount (the
  // capture count), quiet moves follow up to list.count (the move count).
  MoveList list{MoveList::Unfilled{}};
  int stage;
  int cursor;  // the last entry handed out in the current stage
};

inline void picker_start(MovePicker& p, int stage) {
  p.stage = stage;
  p.cursor = 0;
}

// The main and evasion family; 0 when the picker is exhausted.
Move next_move(const Position& pos, MovePicker& p, Move hashMove, Move killer1, Move killer2, Move counter1,
               Move counter2);
// The quiescence family; 0 when the picker is exhausted.
Move next_capture(const Position& pos, MovePicker& p, Move hashMove);

// The scores the stages order by.
int capture_score(const Position& pos, Move m);
int evasion_score(const Position& pos, Move m);
int quiet_score(const Position& pos, Move m);
int root_score(const Position& pos, Move m);

void score_root_moves(const Position& pos, MoveList& list);
// Puts the previous best move first for the next root pass.
void mark_best_root_move(MoveList& list, Move best);
}  // namespace classic
