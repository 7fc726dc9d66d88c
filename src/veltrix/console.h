// Program start of veltrix and its console command loop.
#pragma once

#include "board/position.h"

// The network read at start-up, from the working directory.
constexpr const char* DefaultNetworkFile = "nn-62ef826d1a6d.nnue";

extern Position GamePosition;

// Output, random seed, tables, banner, the network and the start position.
void start_veltrix();
// Reads console commands until "quit" or the end of input.
void veltrix_console_loop();
[[noreturn]] void quit_veltrix();
