// Program start of veltrix, its console command loop and its shutdown.
#pragma once

#include "board/position.h"

namespace veltrix {
// The game position: set up by "position" and "ucinewgame", searched by "go".
extern Position GamePosition;

// Output, random seed, tables, banner, the transposition table's size, the network
// and the start position.
void start_veltrix();
// Reads console commands until "quit" or the end of input; "uci" hands over to
// the UCI loop for good.
void veltrix_console_loop();
// Helpers stopped, table freed, "info string exit...", status 0.
[[noreturn]] void quit_veltrix();

// The start position, with Chess960 and castling written as "O-O" switched off.
void set_up_start_position();
// "eval: N": the evaluation the search would use for the side to move.
void print_evaluation(const Position& pos);
}  // namespace veltrix
