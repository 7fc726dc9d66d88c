// What the search writes while it runs and when it ends, in the UCI form or, before
// "uci" was received, in the console form.
#pragma once

#include "board/position.h"
#include "search/stack.h"

enum ReportBound { ReportExact = 0, ReportUpper = 1, ReportLower = 2 };

// The score as "cp N " or "mate N " (moves, negative when the engine is mated).
void print_score(int score);

// Score, depth, nodes, time and the principal variation of Search.
void info_line(int score, int bound, int depth, int multipvIndex);
// The root move being searched; silent during the first second.
void currmove_line(int depth, int moveNumber, Move move);
// The line the main thread is searching, from the root down to `ply`.
void currline_line(const SearchStack& ss, int ply);
// "bestmove" (with the ponder move) and makes the move on the position.
void bestmove_line(Position& pos, Move move);
