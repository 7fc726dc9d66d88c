// "veltrix bench": a fixed-depth search of fixed positions, printing the total
// node count (the signature of the search) and the speed.
#pragma once

#include <cstdint>

namespace veltrix {
// Arguments after "bench": an optional depth, "full" to rebuild every network
// accumulator from scratch, "fallback" to search with the fallback evaluation, and
// "threads" with a thread count (the Threads option's limits apply). Returns the
// exit status.
int run_bench(int argc, char** argv);

struct BenchResult {
  uint64_t nodes;     // the signature
  uint64_t searchMs;  // the searches alone, without clearing the table before each
};

// The bench positions searched to `depth`, each on a cleared table.
BenchResult run_bench_searches(int depth);
}  // namespace veltrix
