// The staged move picker of veltrix: the hash move before anything is generated,
// then captures that do not lose material, the two killers, the quiet moves by
// history, and the losing captures last. In check one stage orders all evasions.
#pragma once

#include "board/move_order.h"
#include "board/movegen.h"

namespace veltrix {
enum PickerStage : int {
  PickHash,
  PickGenerateCaptures,
  PickCaptures,
  PickKiller1,
  PickKiller2,
  PickGenerateQuiets,
  PickQuiets,
  PickWaitingCaptures,
  PickGenerateEvasions,
  PickEvasions,
  PickGenerateCapturesOnly,
  PickCapturesOnly,
  PickDone,
};

struct MovePicker {
  // Entries from 1: captures and promotions up to list.tacticalCount, the quiet
  // moves after them. Losing captures set aside to wait for the end are gathered
  // at the front, in 1..waitingCount.
  MoveList list;
  int stage;
  int cursor;
  int waitingCount;
  Move hashMove, killer1, killer2;
};

// The main search's order; in check all evasions in one stage.
void picker_start(MovePicker& p, Move hashMove, Move killer1, Move killer2, bool inCheck);
// The quiescence search's order (also ProbCut's): captures and promotions alone,
// the hash move first among them and losing captures left out; in check all
// evasions.
void picker_start_captures(MovePicker& p, Move hashMove, bool inCheck);
// The next move, 0 when there is none left.
Move next_move(const Position& pos, MovePicker& p);

// Promotions, en-passant captures and captures as the capture stage orders them.
int capture_score(Move m);
// The order of the root moves before the first iteration.
int root_score(const Position& pos, Move m);
}  // namespace veltrix
