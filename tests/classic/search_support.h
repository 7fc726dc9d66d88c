// Set-up shared by the search tests: every start-up table, a small transposition
// table and the evaluation caches, all emptied before each test, and a quiet
// fixed-depth search.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "eval/eval_cache.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/tt.h"
#include "support/board_setup.h"
#include "uci/options.h"

constexpr int TestHashMegabytes = 16;

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    static bool once = [] {
      init_search_tables();
      return allocate_eval_caches();
    }();
    ASSERT_TRUE(once);
    ASSERT_NE(tt_resize(TestHashMegabytes), ResizeResult::Failed);
    tt_clear();
    saved_ = Options;
    savedTime_ = Time;
    Options.uciMode = false;
    Options.ownBook = false;
    Options.useNalimov = false;
    BoardConfig.sequenceOutput = false;  // no reports
  }
  void TearDown() override {
    Options = saved_;
    Time = savedTime_;
  }

  BoardConfigGuard boardGuard_;
  ClassicOptions saved_;
  TimeControl savedTime_;
};

struct SearchResult {
  Move best;
  int score;
  uint64_t nodes;
};

// A search of the position to a fixed depth, the way "go depth N" runs it.
inline SearchResult search_to_depth(const std::string& fen, int depth) {
  Position pos = position_from(fen);
  set_both_clocks(Time, 36000000, 1);
  Time.depthLimit = depth;
  Time.infinite = Time.movetime = false;
  go_search(pos);
  return {Search.PrincipalVariation[0], Search.rootBestScore, total_nodes()};
}
