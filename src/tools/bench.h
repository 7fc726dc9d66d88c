// "bench": fifteen tactical test positions searched to a fixed depth from empty
// caches. The node total is the engine's signature; the solved count shows whether
// a change cost tactical strength.
#pragma once

#include <cstdint>

#include "board/position.h"

namespace classic {
constexpr int BenchDepth = 16;
constexpr int BenchTestCount = 15;

struct BenchTest {
  const char* epd;       // the whole stored line, printed as it stands
  const char* bestMove;  // the expected move as standard algebraic notation
};
extern const BenchTest BenchTests[BenchTestCount];

struct BenchTotals {
  uint32_t timeMs = 0;
  uint64_t nodes = 0;
  int solved = 0;
  bool failed[BenchTestCount] = {};
};

// The console command: every test at BenchDepth. Book learning stays off afterwards.
void bench(Position& pos);
// The same run at any depth; leaves the last test position in `pos`.
BenchTotals run_bench(Position& pos, int depth);
// Total time, solved count, nodes and speed, then the failed tests' lines.
void print_bench_summary(const BenchTotals& totals);
}  // namespace classic
