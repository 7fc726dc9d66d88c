// The time record that "go", "sd" and "st" fill and the search reads.
#pragma once

#include <cstdint>

namespace classic {
struct SideClock {
  int time = 1000;    // milliseconds left on the clock
  int movesToGo = 0;  // 0: no moves-to-go given
  int increment = 0;  // milliseconds
};

struct TimeControl {
  SideClock side[2];  // indexed by colour, black first
  int depthLimit = 119;
  bool infinite = false;  // "go infinite", or "go ponder" with Ponder on
  bool clocked = true;    // a clock limits the search (not only a depth, nodes or "stop")
  bool movetime = false;  // the clock values came from "go movetime"
  // Copies of the side to move's values, taken when time is allocated.
  int sideTime = 0;
  int sideMovesToGo = 0;
  int sideIncrement = 0;
  uint32_t startMs = 0;     // search start; differences are taken in 32-bit unsigned arithmetic
  uint32_t limit = 1;       // time limit of the current move in milliseconds, never 0
  int pollCounter = 0;      // main-thread nodes since the last poll
  int pollInterval = 1000;  // main-thread nodes between polls
};

extern TimeControl Time;

// Both clocks set to `ms` with no moves-to-go and no increment.
void set_both_clocks(TimeControl& tc, int ms, int movesToGo = 0);
}  // namespace classic
