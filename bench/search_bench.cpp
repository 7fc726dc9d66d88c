// Speed and signature of the classic search: a fixed-depth search of fixed
// middlegame positions, from empty tables each time. With one thread the total
// node count changes only when the search itself changes; with helpers it varies
// from run to run, and the time to reach the depth is the figure that counts.
// Usage: bench_search [depth [threads]]
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "board/movetext.h"
#include "book/book.h"
#include "eval/eval_cache.h"
#include "platform/platform.h"
#include "search/hooks.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/threads.h"
#include "search/tt.h"

using namespace classic;

namespace {

const char* const Positions[] = {
    "r1bqkb1r/pp3ppp/2n1pn2/3p4/2PP4/2N2N2/PP3PPP/R1BQKB1R w KQkq -",
    "r2q1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/R2Q1RK1 w - -",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - -",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - -",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq -",
    "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PP1/R3K2R w KQkq -",
};

constexpr int BenchDepth = 13;

}  // namespace

int main(int argc, char** argv) {
  int depth = argc > 1 ? atoi(argv[1]) : BenchDepth;
  int threads = argc > 2 ? atoi(argv[2]) : 1;
  init_tables();
  init_search();
  if (!allocate_eval_caches()) return 1;
  BookConfig.ownBook = false;
  SearchConfig.useTablebases = false;
  BoardConfig.sequenceOutput = false;
  if (threads < 1 || threads > MaxThreads) return 1;
  if (threads > 1) set_thread_count(threads);

  uint64_t totalNodes = 0, totalMs = 0;
  int n = 0;
  for (const char* fen : Positions) {
    Position pos{};
    if (!read_fen(pos, fen)) return 1;
    clear_hash_tables();
    set_both_clocks(Time, 36000000, 1);
    Time.depthLimit = depth;
    Time.infinite = Time.movetime = false;
    uint64_t start = now_ms();
    go_search(pos);
    uint64_t ms = now_ms() - start;
    uint64_t nodes = total_nodes();
    printf("%2d  %-6s %6d %12" PRIu64 " nodes %7" PRIu64 " ms\n", ++n, move_text(Search.PrincipalVariation[0]).c_str(),
           Search.rootBestScore, nodes, ms);
    totalNodes += nodes;
    totalMs += ms;
  }
  if (threads > 1) stop_helpers(Pool);
  printf("depth %d, %d positions, %d threads\n", depth, n, threads);
  printf("nodes %" PRIu64 "\n", totalNodes);
  printf("time  %" PRIu64 " ms\n", totalMs);
  printf("nps   %" PRIu64 "\n", totalMs ? totalNodes * 1000 / totalMs : 0);
  return 0;
}
