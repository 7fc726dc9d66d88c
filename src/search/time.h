// Thinking time and the polling of clock and input from the main search thread.
#pragma once

#include "board/position.h"

namespace classic {
// At every "go": the time limit of this move and how often to look at the clock.
void allocate_time(const Position& root);
// Called at every main-thread node; true when the search must stop now.
bool poll_input();
// The look at the clock and the input that poll_input makes every so many nodes.
void check_clock_and_input();
// Reads one waiting line and acts on "stop", "ponderhit" and "quit".
void handle_search_input();
// Milliseconds since the search started.
uint32_t elapsed_ms();
// Gives the processor away for a moment while waiting for input or the clock.
void pause_briefly();
}  // namespace classic
