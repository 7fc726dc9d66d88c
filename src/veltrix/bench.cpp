#include "veltrix/bench.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "veltrix/console.h"
#include "veltrix/engine_options.h"
#include "veltrix/evaluation.h"
#include "veltrix/hash_table.h"
#include "veltrix/network_choice.h"
#include "veltrix/search.h"
#include "veltrix/threads.h"
#include "veltrix/time.h"

namespace veltrix {
namespace {
constexpr int DefaultBenchDepth = 11;

// Openings, middlegames with tactics on both sides, and endings.
const char* const BenchPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
    "3r1rk1/pp3ppp/2n1bq2/2pp4/8/2PBPN2/PP1Q1PPP/R4RK1 w - -",
    "2r3k1/pp3ppp/4p3/3pP3/3P4/P4N2/1P3PPP/2R3K1 w - -",
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "8/5pk1/6p1/8/8/6P1/5PK1/8 b - -",
    "8/8/1p6/p1p5/P1P5/1P6/6k1/4K3 w - -",
};

// A search with no clock: only the depth ends it.
void set_depth_limits(int depth) {
  Engine.depthLimit = depth;
  Engine.pondering = 0;
  Clock.wtime = Clock.btime = 36000000;
  Clock.wMovesToGo = Clock.bMovesToGo = 1;
  Clock.winc = Clock.binc = 0;
}
}  // namespace

BenchResult run_bench_searches(int depth) {
  BenchResult result{0, 0};
  bool reports = Search.reportsOff;
  Search.reportsOff = true;
  set_depth_limits(depth);
  for (const char* fen : BenchPositions) {
    Position pos{};
    read_fen(pos, fen, Dialect::Veltrix);
    TT.clear();
    uint64_t start = now_ms();
    start_search(pos);
    quit_when_requested();
    result.searchMs += now_ms() - start;
    result.nodes += total_nodes();
  }
  Search.reportsOff = reports;
  return result;
}

int run_bench(int argc, char** argv) {
  int depth = DefaultBenchDepth, threads = 1;
  for (int i = 0; i < argc; i++) {
    if (strcmp(argv[i], "full") == 0)
      ForceFullRefresh = true;
    else if (strcmp(argv[i], "fallback") == 0)
      Engine.nnueEval = 0;
    else if (strcmp(argv[i], "threads") == 0 && i + 1 < argc)
      threads = atoi(argv[++i]);
    else if (strcmp(argv[i], "hash") == 0 && i + 1 < argc)
      TT.resize(atoi(argv[++i]));
    else if (atoi(argv[i]) > 0)
      depth = atoi(argv[i]) > MaxDepthLimit ? MaxDepthLimit : atoi(argv[i]);
  }
  set_thread_count(threads);
  if (network_in_use())
    printf("bench: network evaluation (%s), %s accumulators\n", network_name(),
           ForceFullRefresh ? "full-refresh" : "incremental");
  else
    printf("bench: fallback evaluation\n");
  printf("bench: %d positions, depth %d, %d thread%s, hash %d MB\n",
         int(sizeof BenchPositions / sizeof BenchPositions[0]), depth, thread_count(), thread_count() > 1 ? "s" : "",
         TT.megabytes);
  BenchResult r = run_bench_searches(depth);
  printf("Total time (ms) : %" PRIu64 "\n", r.searchMs);
  printf("Nodes searched  : %" PRIu64 "\n", r.nodes);
  printf("Nodes/second    : %" PRIu64 "\n", r.searchMs ? r.nodes * 1000 / r.searchMs : 0);
  set_thread_count(1);
  TT.release();
  return 0;
}
}  // namespace veltrix
