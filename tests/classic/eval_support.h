// Set-up shared by the evaluation tests: tables, caches at their start-up sizes
// and emptied before every test.
#pragma once

#include <ostream>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "board/movegen.h"
#include "eval/eval_cache.h"
#include "eval/eval_terms.h"
#include "eval/evaluate.h"
#include "support/board_setup.h"

using namespace classic;

class EvalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    // Back to the default sizes (a test may have re-sized), every entry empty.
    ASSERT_TRUE(allocate_eval_caches());
  }
};

inline std::ostream& operator<<(std::ostream& os, ScorePair p) { return os << "(" << p.mg << ", " << p.eg << ")"; }

constexpr ScorePair pair(int mg, int eg) { return {int16_t(mg), int16_t(eg)}; }

// Positions along random games from the start, reproducible from the seed.
inline std::vector<Position> random_game_positions(int games, int maxPlies, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<Position> positions;
  for (int g = 0; g < games; g++) {
    Position pos = position_from(StartFen);
    for (int ply = 0; ply < maxPlies; ply++) {
      MoveList list = legal_moves(pos);
      if (list.count == 0 || is_draw(pos)) break;
      make_move(pos, list.moves[1 + rng() % list.count].move, 1);
      positions.push_back(pos);
    }
  }
  return positions;
}
