// The lines veltrix writes while it searches and when it has finished.
#pragma once

#include "board/position.h"
#include "engine/search_types.h"

namespace veltrix {
// "info depth .. seldepth .. score .. nodes .. nps .. time .. pv ..": the iteration,
// the score for the side to move and the main thread's principal variation.
void search_line(int score, int bound);
// The root move being searched; silent during the first second.
void currmove_line(int depth, int moveNumber, Move move);
// "bestmove", with "ponder" and the reply when there is one.
void bestmove_line(Move best, Move ponder);
}  // namespace veltrix
