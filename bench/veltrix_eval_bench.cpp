// Evaluations per second of veltrix's fallback evaluation over positions from
// reproducible random games. It keeps no caches, so every call computes all terms.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "board/movegen.h"
#include "veltrix/fallback_eval.h"

using namespace veltrix;

namespace {

std::vector<Position> bench_positions() {
  std::mt19937 rng(9011);
  std::vector<Position> positions;
  for (int game = 0; game < 40; game++) {
    Position pos{};
    read_fen(pos, StartFen, Dialect::Veltrix);
    for (int ply = 0; ply < 100; ply++) {
      MoveList list;
      generate_legal(pos, list);
      if (list.count == 0 || is_draw(pos, RepetitionRule::OneEarlier)) break;
      make_move(pos, list.moves[1 + rng() % list.count].move, 1);
      positions.push_back(pos);
    }
  }
  return positions;
}

}  // namespace

int main() {
  init_tables();
  init_fallback_tables();
  std::vector<Position> positions = bench_positions();
  const int rounds = 200;
  long long checksum = 0;
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < rounds; r++)
    for (const Position& pos : positions) checksum += evaluate_fallback(pos);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double evals = double(rounds) * double(positions.size());
  printf("fallback evaluation: %zu positions x %d rounds, %.0f evaluations/s (checksum %lld)\n", positions.size(),
         rounds, evals / seconds, checksum);
}
