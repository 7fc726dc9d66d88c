// Set-up shared by the evaluation tests: tables, caches at their start-up sizes
// and emptied before every test.
#pragma once

#include <ostream>

#include <gtest/gtest.h>

#include "eval/eval_cache.h"
#include "eval/eval_terms.h"
#include "eval/evaluate.h"
#include "support/board_setup.h"

class EvalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    // Back to the default sizes (a test may have re-sized), every entry empty.
    ASSERT_TRUE(allocate_eval_caches());
    clear_eval_caches();
  }
};

inline std::ostream& operator<<(std::ostream& os, ScorePair p) {
  return os << "(" << p.mg << ", " << p.eg << ")";
}

constexpr ScorePair pair(int mg, int eg) { return {int16_t(mg), int16_t(eg)}; }
