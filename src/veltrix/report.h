// The lines veltrix writes while it searches and when it has finished.
#pragma once

#include "board/position.h"
#include "engine/root_lines.h"
#include "engine/search_types.h"

namespace veltrix {
// The score a report shows for a line from the root move: the endgame tables'
// while they know the root (ply 0), unless the search has seen a mate.
int shown_score(Move rootMove, int score);
// "info depth .. seldepth .. [multipv ..] score .. nodes .. nps .. time .. pv ..":
// the iteration, the score for the side to move and the main thread's principal
// variation; a `multipv` of 0 leaves that field out, one beyond the lines shown
// leaves the line out.
void search_line(int score, int bound, int multipv);
// The lines of a finished depth that are shown, best first, the first as
// "multipv 1".
void ranked_lines(const RootLines& lines);
// The line a limited player chose below the first, when one line is shown: the
// line the interface shows last is the one played.
void line_played(const RootLine& played);
// The root move being searched; silent during the first second.
void currmove_line(int depth, int moveNumber, Move move);
// "bestmove", with "ponder" and the reply when there is one.
void bestmove_line(Move best, Move ponder);
}  // namespace veltrix
