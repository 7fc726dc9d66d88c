// The helper threads: their lifecycle under the Threads option and many short
// searches shared between two threads. The split points themselves are one
// mechanism for both programs; veltrix's tests build them by hand.
#include <vector>

#include "eval/eval_cache.h"
#include "eval_support.h"
#include "search/history.h"
#include "search/score.h"
#include "search/threads.h"
#include "search_support.h"
#include "support/process_threads.h"

using namespace classic;

namespace {

uint64_t helper_nodes() {
  uint64_t sum = 0;
  for (int t = 1; t < MaxThreads; t++) sum += Search.nodes[t].count;
  return sum;
}

bool is_legal(const Position& pos, Move m) {
  MoveList list = legal_moves(pos);
  for (int i = 1; i <= list.count; i++)
    if (list.moves[i].move == m) return true;
  return false;
}

const char* const Middlegames[] = {
    "r1bqkb1r/pp3ppp/2n1pn2/3p4/2PP4/2N2N2/PP3PPP/R1BQKB1R w KQkq -",
    "r2q1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/R2Q1RK1 w - -",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - -",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - -",
};

class Threads : public SearchTest {
 protected:
  void TearDown() override {
    set_thread_count(1);
    SearchTest::TearDown();
  }
};

TEST_F(Threads, TheOptionCreatesAndEndsHelperThreads) {
  set_thread_count(1);
  const int alone = os_thread_count();
  SearchResult r = search_to_depth(Middlegames[0], 10);
  EXPECT_NE(r.best, 0u);
  EXPECT_EQ(os_thread_count(), alone) << "one thread searches alone";
  EXPECT_EQ(helper_nodes(), 0u);

  set_thread_count(2);
  const int withHelper = os_thread_count();
  search_to_depth(Middlegames[1], 10);
  EXPECT_GT(helper_nodes(), 0u) << "the helper joined split points";
  EXPECT_EQ(total_nodes(), Search.nodes[0].count + Search.nodes[1].count);

  // Compared after the first helper existed: a thread sanitizer starts a thread of
  // its own along with the first thread the program creates.
  set_thread_count(1);
  EXPECT_EQ(os_thread_count(), withHelper - 1);
  search_to_depth(Middlegames[1], 10);
  EXPECT_EQ(helper_nodes(), 0u);
}

TEST_F(Threads, ChangingTheCountEmptiesTheTables) {
  Position pos = position_from(Middlegames[2]);
  TT.store(pos.HashKey, BOUND_EXACT, 17, 0, 5, SCORE_NONE);
  eval_cache_store(pos.HashKey, 0, 17);
  HashEntry entry;
  int score;
  ASSERT_TRUE(TT.probe(pos.HashKey, entry));
  ASSERT_TRUE(eval_cache_probe(pos.HashKey, 0, score));

  set_thread_count(2);
  EXPECT_FALSE(TT.probe(pos.HashKey, entry));
  EXPECT_FALSE(eval_cache_probe(pos.HashKey, 0, score));
}

// Hundreds of searches short enough that the helper joins and leaves split points
// all the time, and is put to sleep and woken for every one of them.
TEST_F(Threads, ManyShortSearchesEndWithLegalMoves) {
#if defined(__SANITIZE_THREAD__)
  constexpr int Games = 3;
#else
  constexpr int Games = 6;
#endif
  set_thread_count(2);
  std::vector<Position> positions = random_game_positions(Games, 60, 7);
  ASSERT_GE(positions.size(), 100u);
  uint64_t helped = 0;
  int searched = 0;
  for (size_t i = 0; i < positions.size(); i++) {
    Position pos = positions[i];
    const Position before = pos;
    set_both_clocks(Time, 36000000, 1);
    Time.depthLimit = 6 + int(i % 3);
    Time.infinite = Time.movetime = false;
    go_search(pos);
    if (Search.RootMoves.count == 0) continue;
    ASSERT_TRUE(is_legal(before, Search.PrincipalVariation[0])) << "position " << i;
    helped += helper_nodes();
    searched++;
  }
  EXPECT_GE(searched, 100);
  EXPECT_GT(helped, 0u);
}

TEST_F(Threads, HelpersFindTheSameMates) {
  set_thread_count(2);
  SearchResult three = search_to_depth("8/8/6k1/R7/8/8/8/1R4K1 w - -", 8);
  EXPECT_EQ(three.score, SCORE_MATE - 6);
  SearchResult quiet = search_to_depth("3k4/8/8/8/8/8/R7/1R4K1 w - -", 9);
  EXPECT_EQ(quiet.score, SCORE_MATE - 6);
}

}  // namespace
