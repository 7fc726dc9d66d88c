#include "search/time.h"

#include <cstdio>
#include <string>
#include <thread>

#include "engine/search_limits.h"
#include "platform/platform.h"
#include "search/hooks.h"
#include "search/limits.h"
#include "search/search_state.h"

namespace classic {
namespace {
constexpr int LowTimeMs = 15000;

uint32_t to_unsigned(int ms) { return ms > 0 ? uint32_t(ms) : 0; }
}  // namespace

void pause_briefly() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

uint32_t elapsed_ms() { return uint32_t(now_ms()) - Time.startMs; }

void allocate_time(const Position& root) {
  const SideClock& clock = Time.side[root.SideToMove];
  Time.sideTime = clock.time;
  Time.sideMovesToGo = clock.movesToGo;
  Time.sideIncrement = clock.increment;
  uint32_t t = to_unsigned(Time.sideTime);
  if (t < 1) t = 1;
  uint32_t increment = to_unsigned(Time.sideIncrement);
  int movesToGo = Time.sideMovesToGo;
  Search.lowTime = t < LowTimeMs;

  uint32_t limit;
  if (Time.movetime)
    limit = t;
  else if (movesToGo <= 0)
    limit = increment ? increment / 3 + t / 20 : t / 40;
  else if (movesToGo == 1)
    limit = t / 2;
  else {
    limit = t / uint32_t(movesToGo + 1);
    if (movesToGo > 20 && !Search.lowTime) limit += limit / 4;
  }
  // A pondering search may keep a little more: the opponent's time was used too.
  if (Time.infinite && !Search.lowTime) limit += limit / 4;
  // The increment arrives only after the move: with less on the clock than about
  // three quarters of it, a third of the increment would overdraw the clock.
  if (!Time.movetime && limit > t / 2) limit = t / 2;
  Time.limit = uint32_t(without_overhead(limit));
  Time.pollCounter = 0;
  Time.pollInterval = Search.lowTime ? 100 : Time.infinite || SearchConfig.playLevel ? 1000 : 20000;

  if (BoardConfig.debugInfo) {
    printf("\ninfo string infinite = %d\n", int(Time.infinite));
    printf("info string time checking nodes = %d sec.\n", Time.pollInterval);
    printf("info string total time = %d sec.\n", int(t / 1000));
    printf("info string total move time = %d sec.\n", int(Time.limit / 1000));
    printf("info string total moves = %d\n", movesToGo);
    printf("info string total inc = %d sec.\n\n", int(increment / 1000));
  }
}

// The interface's "ponderhit": the clock counts from now on, read less often.
void ponderhit() {
  Time.infinite = false;
  Time.pollInterval = Search.lowTime ? 100 : 20000;
}

void handle_search_input() { read_search_command(ponderhit); }

void check_clock_and_input() {
  if (node_limit_reached(total_nodes())) {
    stop_search();
  } else if (!Time.infinite && Search.rootBestMove && elapsed_ms() >= Time.limit) {
    stop_search();
  } else if (input_waiting()) {
    handle_search_input();
  } else if (Time.infinite && input_closed()) {
    // Nobody is left to send "stop" to an endless search.
    request_quit();
  }
}

bool poll_input() {
  if (++Time.pollCounter < Time.pollInterval) return false;
  Time.pollCounter = 0;
  check_clock_and_input();
  return stop_requested();
}
}  // namespace classic
