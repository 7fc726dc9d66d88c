// The helper threads: their lifecycle under the Threads option, many short
// searches shared between two threads, and what a fail high at a split point does
// to the threads working there.
#include <climits>
#include <memory>
#include <vector>

#include "eval/eval_cache.h"
#include "eval_support.h"
#include "search/history.h"
#include "search/score.h"
#include "search/split.h"
#include "search/thread_pool.h"
#include "search/threads.h"
#include "search_support.h"
#include "support/process_threads.h"

namespace {

uint64_t helper_nodes() {
  uint64_t sum = 0;
  for (int t = 1; t < MaxThreads; t++) sum += Search.nodes[t];
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
  EXPECT_EQ(total_nodes(), Search.nodes[0] + Search.nodes[1]);

  // Compared after the first helper existed: a thread sanitizer starts a thread of
  // its own along with the first thread the program creates.
  set_thread_count(1);
  EXPECT_EQ(os_thread_count(), withHelper - 1);
  search_to_depth(Middlegames[1], 10);
  EXPECT_EQ(helper_nodes(), 0u);
}

TEST_F(Threads, ChangingTheCountEmptiesTheTables) {
  Position pos = position_from(Middlegames[2]);
  tt_store(pos.HashKey, BOUND_EXACT, 17, 0, 5);
  eval_cache_store(pos.HashKey, 0, 17);
  TTEntry entry;
  int score;
  ASSERT_TRUE(tt_probe(pos.HashKey, entry));
  ASSERT_TRUE(eval_cache_probe(pos.HashKey, 0, score));

  set_thread_count(2);
  EXPECT_FALSE(tt_probe(pos.HashKey, entry));
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

// A split point built by hand, with its participants played by this thread: the
// master first, then a helper arriving late.
class SplitPointCutoff : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    for (SearchStack& ss : Search.stacks) clear_stack(ss);
    clear_ordering_tables();
    Search.stopFlag = false;
    Search.rootSide = White;
    Time.infinite = false;
    Time.pollCounter = 0;
    Time.pollInterval = INT_MAX;
    savedCount_ = Pool.threadCount;
    Pool.threadCount = 3;
  }
  void TearDown() override {
    Pool.threadCount = savedCount_;
    for (PoolSlot& slot : Pool.slots) slot.abort = false;
    SearchTest::TearDown();
  }

  // A non-PV node at ply 2 whose window every move beats, worked on by `master`
  // and by helper 1 (busy with a move of its own).
  SplitPoint& open(int master) {
    sp_ = std::make_unique<SplitPoint>();
    SplitPoint& sp = *sp_;
    sp.pos = position_from(Middlegames[0]);
    sp.pos.ThreadSlot = master;
    sp.master = master;
    sp.parent = nullptr;
    for (auto& h : sp.helpers) h = false;
    sp.helpers[1] = true;
    sp.workers = 2;
    sp.cutoff = false;
    const int beta = -5000;
    sp.node = NodeFrame{beta - 1, beta, 5, 2, false, false, false, true, 0, 0, 0, 0, 0, 0};
    picker_start(sp.picker, MainHash);
    sp.moveCount = 1;
    sp.bestValue = -SCORE_INFINITE;
    sp.bestMove = 0;
    return sp;
  }

  std::unique_ptr<SplitPoint> sp_;
  int savedCount_ = 1;
};

TEST_F(SplitPointCutoff, AFailHighStopsTheHelpersAndAHelperMaster) {
  SplitPoint& sp = open(2);
  Position pos = sp.pos;
  split_point_search(pos, sp);

  EXPECT_TRUE(sp.cutoff);
  EXPECT_GE(sp.bestValue, sp.node.beta);
  EXPECT_TRUE(is_legal(sp.pos, sp.bestMove));
  EXPECT_EQ(sp.moveCount, 2) << "no move is taken after the fail high";
  EXPECT_TRUE(Pool.slots[1].abort) << "the helper's move is of no use any more";
  EXPECT_TRUE(Pool.slots[2].abort) << "a helper slot that is master stops as well";
  EXPECT_EQ(sp.workers, 1) << "the helper is still on its way back";

  // The helper's search ends at once, and it takes no further move.
  Position helperPos = sp.pos;
  helperPos.ThreadSlot = 1;
  Search.nodes[1] = 0;
  EXPECT_EQ(search_node(helperPos, -100, 100, 12, 2, true, false), 0);
  EXPECT_LT(Search.nodes[1], 200u);
  split_point_search(helperPos, sp);
  EXPECT_EQ(sp.moveCount, 2);
  EXPECT_EQ(sp.workers, 0);
  EXPECT_FALSE(sp.helpers[1]) << "a later fail high here must not reach work it takes up elsewhere";
}

TEST_F(SplitPointCutoff, TheMainThreadIsNeverFlagged) {
  SplitPoint& sp = open(0);
  Position pos = sp.pos;
  split_point_search(pos, sp);
  EXPECT_TRUE(sp.cutoff);
  EXPECT_TRUE(Pool.slots[1].abort);
  EXPECT_FALSE(Pool.slots[0].abort);
}

// A master stopped from above gives its split point up, so that its helpers do not
// finish moves whose results it will throw away.
TEST_F(SplitPointCutoff, AStoppedMasterReleasesItsHelpers) {
  SplitPoint& sp = open(2);
  sp.node.alpha = 4999;
  sp.node.beta = 5000;  // no move can fail high
  Pool.slots[2].abort = true;
  Position pos = sp.pos;
  split_point_search(pos, sp);
  EXPECT_TRUE(sp.cutoff);
  EXPECT_TRUE(Pool.slots[1].abort);
  EXPECT_EQ(sp.bestMove, 0u) << "a stopped search records nothing";
}

}  // namespace
