#include "tools/bench.h"

#include <cinttypes>
#include <cstdio>

#include "board/movetext.h"
#include "board/san.h"
#include "book/book.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/threads.h"
#include "search/time.h"
#include "search/tt.h"

namespace classic {
namespace {
constexpr int BenchClockMs = 36000000;  // ten hours: only the depth ends a search
const char* const Rule = "----------------------------------------------\n";

void print_test_header(int number, const BenchTest& test) {
  printf("%s", Rule);
  printf("test nr. %d\n", number);
  printf("FEN: %s\n", test.epd);
  printf("%s", Rule);
}

// The nodes of the threads that took part: the main thread and its helpers.
uint64_t search_nodes() {
  uint64_t sum = 0;
  for (int t = 0; t < thread_count(); t++) sum += Search.nodes[t].count.load(std::memory_order_relaxed);
  return sum;
}

// Whole seconds only, as the console reports count them: nothing under one second.
uint64_t nodes_per_second(uint64_t nodes, uint32_t ms) {
  uint32_t seconds = ms / 1000;
  return nodes && seconds ? nodes / seconds : 0;
}

// One test from empty caches; true when the search found the expected move.
bool run_test(Position& pos, int number, const BenchTest& test, int depth, BenchTotals& totals) {
  read_fen(pos, test.epd);
  BookConfig.gameFromStart = false;
  clear_hash_tables();
  print_test_header(number, test);
  print_board(pos);
  Time.depthLimit = depth;
  set_both_clocks(Time, BenchClockMs);
  const Position testPosition = pos;
  go_search(pos);
  // The move "bestmove" made; a search stopped by the user before any root move
  // was done has none, and then the test is simply not solved. Going back to the
  // copy takes back whatever was made, even the answer of such a stopped search.
  Move found = Search.PrincipalVariation[0];
  pos = testPosition;
  totals.timeMs += elapsed_ms();
  totals.nodes += search_nodes();
  Move expected = read_san(pos, test.bestMove);
  return expected && expected == found;
}
}  // namespace

BenchTotals run_bench(Position& pos, int depth) {
  printf("start bench test!\n");
  // Test positions must not leave traces in the learning file.
  BookConfig.learn = false;
  BenchTotals totals;
  for (int i = 0; i < BenchTestCount; i++) {
    if (run_test(pos, i + 1, BenchTests[i], depth, totals))
      totals.solved++;
    else
      totals.failed[i] = true;
  }
  print_bench_summary(totals);
  return totals;
}

void print_bench_summary(const BenchTotals& totals) {
  printf("\ntime\t: %u ms \n", totals.timeMs);
  printf("solved\t: %d / %d\n", totals.solved, BenchTestCount);
  printf("nodes\t: %" PRIu64 "\n", totals.nodes);
  printf("nps\t: %" PRIu64 "\n\n", nodes_per_second(totals.nodes, totals.timeMs));
  for (int i = 0; i < BenchTestCount; i++)
    if (totals.failed[i]) printf("FEN: %s\n", BenchTests[i].epd);
  printf("\nbench test finished!\n");
}

void bench(Position& pos) { run_bench(pos, BenchDepth); }
}  // namespace classic
