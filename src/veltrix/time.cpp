#include "veltrix/time.h"

#include <algorithm>
#include <cstdint>

#include "engine/search_limits.h"
#include "platform/platform.h"
#include "veltrix/console.h"
#include "veltrix/engine_options.h"
#include "veltrix/search_state.h"

namespace veltrix {
namespace {
// Main-thread nodes between two looks at the clock and the input: well under a
// millisecond, so that a search ends within a few milliseconds of its limit.
constexpr uint64_t PollNodes = 1000;
}  // namespace

uint64_t elapsed_ms() { return now_ms() - Clock.startTime; }

void allocate_time(const Position& root) {
  ClockRecord& c = Clock;
  c.startTime = now_ms();
  bool white = root.SideToMove == White;
  c.sideTime = white ? c.wtime : c.btime;
  c.sideMovesToGo = white ? c.wMovesToGo : c.bMovesToGo;
  c.sideInc = white ? c.winc : c.binc;

  int64_t t = c.sideTime < 1 ? 1 : c.sideTime;
  // Below 12 seconds every millisecond counts: no bonus, and a close watch on the clock.
  Search.lowTime = (t - 2000 > 1 ? t - 2000 : 1) < 10000;
  int64_t allotted, maximum;
  if (c.movetime > 0) {
    // "go movetime": the whole of it for this move.
    allotted = maximum = c.movetime;
  } else {
    if (c.sideMovesToGo >= 2)
      allotted = t / (c.sideMovesToGo >= 39 ? 40 : c.sideMovesToGo + 1);
    else if (c.sideInc > 0)
      allotted = c.sideInc / 2 + t / 20;
    else
      allotted = t / 30;
    // A pondering search was paid for partly with the opponent's time.
    if (Engine.ponderOption && Engine.pondering && !Search.lowTime) allotted += allotted / 8;
    // The increment arrives only after the move: never more than half of what is
    // left, even when the increment is large and the clock nearly empty.
    allotted = std::min(allotted, t / 2);
    maximum = std::min(2 * allotted, t / 2);
  }
  // Wide arithmetic: absurd clock values must not wrap into small limits.
  c.allotted = int(std::min<int64_t>(without_overhead(allotted), INT32_MAX));
  c.maximum = int(std::min<int64_t>(without_overhead(maximum), INT32_MAX));
  c.pollInterval = c.nextPoll = PollNodes;
}

void quit_when_requested() {
  if (Signals.quitRequested) quit_veltrix();
}

void poll_search() {
  // A limited player that has searched what its level allows (a depth at least)
  // stops; the input waits for the pause before its answer, which follows.
  if (Search.nodeBudget && !Search.budgetSpent && !stop_requested() && Search.iterationDepth > 1 &&
      total_nodes() >= Search.nodeBudget) {
    Search.budgetSpent = true;
    stop_search();
  }
  if (Search.budgetSpent && stop_requested()) return;
  if (node_limit_reached(total_nodes())) stop_search();
  if (!Engine.pondering && Search.pv[0] && elapsed_ms() >= uint64_t(Clock.allotted)) stop_search();
  if (input_waiting()) {
    read_search_command([] { Engine.pondering = 0; });
  } else if (Engine.pondering && input_closed()) {
    // Nobody is left to send "stop" to a search without a time limit.
    request_quit();
  }
}
}  // namespace veltrix
