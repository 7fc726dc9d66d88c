// Thinking time of veltrix and the polling of clock and input from the main
// search thread.
#pragma once

#include <cstdint>
#include <string>

#include "board/position.h"

namespace veltrix {
// At every "go": the side to move's clock into the working fields, the allotted
// and maximum time, and how many nodes pass between two looks at the clock.
void allocate_time(const Position& root);
// Milliseconds since the search started.
uint64_t elapsed_ms();
// The main thread's look at the clock and the input during a search.
void poll_search();
// "quit" during a search: the program ends once the search has returned.
void quit_when_requested();
}  // namespace veltrix
