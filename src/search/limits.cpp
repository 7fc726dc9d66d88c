#include "search/limits.h"

namespace classic {
TimeControl Time;

void set_both_clocks(TimeControl& tc, int ms, int movesToGo) {
  for (SideClock& s : tc.side) {
    s.time = ms;
    s.movesToGo = movesToGo;
    s.increment = 0;
  }
}
}  // namespace classic
