// Program start of veltrix-classic and its console command loop.
#pragma once

#include "board/position.h"

// The game position: set up by "position", "new" and typed moves, searched by "go".
extern Position GamePosition;

// Tables, defaults, caches and the start position, then the banner.
void start_program();
// Reads console commands until "quit" or the end of input; hands over to the UCI
// loop for good on "uci".
void console_loop();
// Leaves the program as "quit" does: helpers stopped, caches released, status 0.
[[noreturn]] void quit_program();
// "perft N": the leaf count of the legal move tree from the game position.
void run_perft(const char* args);
