// Program start of veltrix-classic and its console command loop.
#pragma once

#include "board/position.h"

namespace classic {
// Tables, defaults, caches, the search's reports and hooks, the start position,
// then the banner.
void start_program();
// Reads console commands until "quit" or the end of input; hands over to the UCI
// loop for good on "uci".
void console_loop();
// "perft N": the leaf count of the legal move tree from the game position.
void run_perft(const char* args);
// The start position; the opening book may be used again.
void set_up_start_position();
}  // namespace classic
