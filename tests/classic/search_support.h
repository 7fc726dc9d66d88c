// Set-up shared by the search tests: every start-up table, a small transposition
// table and the evaluation caches, all emptied before each test, and a quiet
// fixed-depth search.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "eval/eval_cache.h"
#include "search/limits.h"
#include "search/margins.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/tt.h"
#include "support/board_setup.h"
#include "support/classic_config.h"

using namespace classic;

constexpr int TestHashMegabytes = 16;

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    static bool once = [] {
      init_search_tables();
      install_root_hooks();  // the book and the tablebases, as the program has them
      return allocate_eval_caches();
    }();
    ASSERT_TRUE(once);
    ASSERT_NE(TT.resize(TestHashMegabytes), ResizeResult::Failed);
    clear_hash_tables();
    FrontEnd.uciMode = false;
    BookConfig.ownBook = false;
    SearchConfig.useTablebases = false;
    BoardConfig.sequenceOutput = false;  // no reports
  }
  BoardConfigGuard boardGuard_;
  ClassicConfigGuard configGuard_;
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
