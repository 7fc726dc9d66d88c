// Full evaluations per second over a fixed set of positions from reproducible
// random games: with the evaluation cache bypassed (every call computes all terms,
// the pawn and material caches warm), through the evaluation cache, and with no
// cache at all.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <random>
#include <vector>

#include "board/movegen.h"
#include "eval/eval_cache.h"
#include "eval/eval_terms.h"
#include "eval/evaluate.h"

using namespace classic;

namespace {

std::vector<Position> bench_positions() {
  std::mt19937 rng(8017);
  std::vector<Position> positions;
  for (int game = 0; game < 40; game++) {
    Position pos{};
    read_fen(pos, StartFen);
    for (int ply = 0; ply < 100; ply++) {
      MoveList list;
      generate_legal(pos, list);
      if (list.count == 0 || is_draw(pos)) break;
      make_move(pos, list.moves[1 + rng() % list.count].move, 1);
      positions.push_back(pos);
    }
  }
  return positions;
}

template <typename Evaluate>
void measure(const char* label, const std::vector<Position>& positions, int rounds, Evaluate eval) {
  long long checksum = 0;
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < rounds; r++)
    for (const Position& pos : positions) checksum += eval(pos);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  uint64_t calls = uint64_t(rounds) * positions.size();
  printf("%-34s %10" PRIu64 " calls %8.3f s %12.0f evals/s %8.1f ns/eval (checksum %lld)\n", label, calls, seconds,
         calls / seconds, seconds * 1e9 / calls, checksum);
}

}  // namespace

int main() {
  init_tables();
  if (!allocate_eval_caches()) {
    printf("could not allocate the evaluation caches\n");
    return 1;
  }
  std::vector<Position> positions = bench_positions();
  printf("%zu positions\n", positions.size());
  const int rounds = 200;

  clear_eval_caches();
  measure("evaluation cache bypassed", positions, rounds, [](const Position& pos) { return evaluate_uncached(pos); });
  clear_eval_caches();
  measure("evaluation cache enabled", positions, rounds,
          [](const Position& pos) { return evaluate(pos, -32100, 32100, 0); });
  // Without any table every call works out the pawn and material facts too: the
  // cost of a position never seen.
  release_eval_caches();
  measure("no caches at all", positions, rounds, [](const Position& pos) { return evaluate_uncached(pos); });
  return 0;
}
