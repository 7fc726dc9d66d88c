// The settings of veltrix that its options and the "go" command change, and the
// clock record the time allocation reads. They change only between searches,
// except `pondering`, which "ponderhit" clears while the main thread searches.
#pragma once

#include <cstdint>

namespace veltrix {
// Iterations never go deeper than this.
constexpr int MaxDepthLimit = 100;
// Room for the network file name, terminating NUL included.
constexpr int NnueFileCapacity = 256;

// UCI_Chess960 and Castling_OO live in the board core's BoardConfig, which reads
// them; the thread count lives with the helper threads.
struct EngineOptions {
  int uciMode = 0;
  int pondering = 0;  // the running search has no time limit until "ponderhit"
  int ponderOption = 0;
  int depthLimit = MaxDepthLimit;
  int multiPV = 1;        // the lines a search reports
  bool showWdl = false;   // score lines carry the win/draw/loss chances
  int limitStrength = 0;  // UCI_LimitStrength: play at the rating of `playElo`
  int playElo = 1350;     // UCI_Elo
  uint8_t nnueEval = 1;
  char nnueFile[NnueFileCapacity] = "nn-62ef826d1a6d.nnue";
};

extern EngineOptions Engine;

// The clocks as "go" gives them (what it does not name has its start value), then
// the search's own copy and limits.
struct ClockRecord {
  int wtime = 10000, wMovesToGo = 0, winc = 0;
  int btime = 10000, bMovesToGo = 0, binc = 0;
  int movetime = 0;        // "go movetime": the time of this move, 0 when not given
  bool clockRuns = false;  // "go" named a clock or a move time
  int sideTime = 0, sideMovesToGo = 0, sideInc = 0;
  uint64_t startTime = 0;  // milliseconds of the monotonic clock
  int allotted = 1, maximum = 2;
  uint64_t pollInterval = 1000000, nextPoll = 1000000;  // main-thread node counts
};

extern ClockRecord Clock;

// Stores the NNUE_File value; a name that does not fit is refused (false) and
// the stored name stays.
bool set_nnue_file(const char* name);
// Whether the search evaluates with the network: switched on and loaded.
bool network_in_use();
}  // namespace veltrix
