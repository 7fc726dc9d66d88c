// veltrix's helper threads: their lifecycle under the Threads option, many short
// searches shared between two threads, split points that a master works alone,
// split points built by hand (a fail high, a stopped master), and a helper's
// network evaluations against full refreshes.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "support/process_threads.h"
#include "veltrix/evaluation.h"
#include "veltrix/history.h"
#include "veltrix/score.h"
#include "veltrix/search.h"
#include "veltrix/threads.h"
#include "veltrix_support.h"

using namespace veltrix;

namespace {

uint64_t helper_nodes() {
  uint64_t sum = 0;
  for (int t = 1; t < MaxSearchThreads; t++) sum += SearchThreads[t].nodes.load();
  return sum;
}

const char* const Middlegames[] = {
    "r1bqkb1r/pp3ppp/2n1pn2/3p4/2PP4/2N2N2/PP3PPP/R1BQKB1R w KQkq -",
    "r2q1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/R2Q1RK1 w - -",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - -",
};

class VeltrixHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_veltrix();
    Engine.nnueEval = 0;  // the fallback evaluation keeps the searches quick
  }
  void TearDown() override {
    set_thread_count(1);
    Engine = saved_;
  }
  // Two threads need two processors: the option gives no more.
  bool two_threads() {
    set_thread_count(2);
    return thread_count() == 2;
  }
  EngineOptions saved_ = Engine;
};

TEST_F(VeltrixHelpers, OneThreadSearchesAloneAndTheSameAsEver) {
  set_thread_count(1);
  const int alone = os_thread_count();
  Position pos = veltrix_position(Middlegames[0]);
  search_to_depth(pos, 9);
  const uint64_t nodes = total_nodes();
  EXPECT_EQ(os_thread_count(), alone);
  EXPECT_EQ(helper_nodes(), 0u);

  if (!two_threads()) GTEST_SKIP() << "a single processor";
  const int withHelper = os_thread_count();
  Position shared = veltrix_position(Middlegames[1]);
  search_to_depth(shared, 9);
  EXPECT_GT(helper_nodes(), 0u) << "the helper joined split points";
  EXPECT_EQ(total_nodes(), SearchThreads[0].nodes + SearchThreads[1].nodes);

  // Compared after the first helper existed: a thread sanitizer starts a thread of
  // its own along with the first thread the program creates.
  set_thread_count(1);
  EXPECT_EQ(os_thread_count(), withHelper - 1);
  Position again = veltrix_position(Middlegames[0]);
  search_to_depth(again, 9);
  EXPECT_EQ(total_nodes(), nodes) << "alone again, the search is the one it was";
  EXPECT_EQ(helper_nodes(), 0u);
}

TEST_F(VeltrixHelpers, TheCountStaysWithinTheProcessors) {
  set_thread_count(64);
  EXPECT_EQ(thread_count(), std::min(processor_count(), MaxSearchThreads));
  set_thread_count(0);
  EXPECT_EQ(thread_count(), 1);
}

// Hundreds of searches short enough that the helper joins and leaves split points
// all the time, and is parked and woken for every one of them; the count changes
// now and then between them.
TEST_F(VeltrixHelpers, ManyShortSearchesEndWithLegalMoves) {
  if (!two_threads()) GTEST_SKIP() << "a single processor";
#if defined(__SANITIZE_THREAD__)
  constexpr int Games = 3;
#else
  constexpr int Games = 8;
#endif
  std::vector<Position> positions = random_game_positions(Games, 7);
  ASSERT_GE(positions.size(), Games * 15u);
  uint64_t helped = 0;
  int searched = 0;
  for (size_t i = 0; i < positions.size(); i++) {
    if (i % 40 == 39) set_thread_count(thread_count() == 2 ? 1 : 2);
    Position pos = positions[i];
    const Position before = pos;
    search_to_depth(pos, 6 + int(i % 3));
    if (Search.rootMoves.count == 0) continue;
    ASSERT_TRUE(move_is_legal_here(before, Search.pv[0])) << "position " << i;
    helped += helper_nodes();
    searched++;
  }
  EXPECT_GE(searched, Games * 15);
  EXPECT_GT(helped, 0u);
}

TEST_F(VeltrixHelpers, HelpersFindTheSameMates) {
  if (!two_threads()) GTEST_SKIP() << "a single processor";
  Position rooks = veltrix_position("8/8/6k1/R7/8/8/8/1R4K1 w - -");
  EXPECT_EQ(search_to_depth(rooks, 9), SCORE_MATE - 5);
  Position queen = veltrix_position("k7/8/2K5/8/8/8/8/7R w - -");
  EXPECT_EQ(search_to_depth(queen, 9), SCORE_MATE - 3);
}

// A split point that its master works alone must search what the node's own move
// loop searches: the moves searched there count in the node's history update like
// the others. A stand-in helper, a thread of the test's own, takes every split
// point offered and gives it back at once; each costs the master one node.
TEST_F(VeltrixHelpers, ASplitPointWorkedAloneSearchesAsOneThreadDoes) {
  set_thread_count(1);
  Position pos = veltrix_position(Middlegames[1]);
  const int score = search_to_depth(pos, 9);
  const Move best = Search.pv[0];
  const uint64_t nodes = total_nodes();

  Pool.threadCount = 2;  // slot 1 has no thread of the pool: the stand-in answers for it
  CrewMember& standIn = Pool.crew.members[1];
  std::atomic<bool> done{false};
  std::atomic<uint64_t> splits{0};
  std::thread giveBack([&] {
    standIn.idle = true;
    while (!done) {
      if (!standIn.hasWork) {
        std::this_thread::yield();
        continue;
      }
      SplitPoint<VeltrixThreads>& sp = *Pool.slots[1].currentSplit;
      sp.lock.lock();
      sp.helpers[1] = false;
      sp.workers--;
      sp.lock.unlock();
      splits++;
      standIn.hasWork = false;
      standIn.idle = true;
    }
  });
  EXPECT_EQ(search_to_depth(pos, 9), score);
  done = true;
  giveBack.join();
  standIn.idle = false;
  Pool.threadCount = 1;
  EXPECT_GT(splits.load(), 0u);
  EXPECT_EQ(Search.pv[0], best);
  EXPECT_EQ(total_nodes(), nodes + splits) << "the same tree, node for node";
}

// A split point built by hand, its participants played one after the other by this
// thread.
class SplitPointWork : public VeltrixHelpers {
 protected:
  using Split = SplitPoint<VeltrixThreads>;

  void SetUp() override {
    VeltrixHelpers::SetUp();
    Pool.threadCount = 3;  // slots to flag; no thread runs
    Signals.stop = false;
    history_clear();
    TT.clear();
    for (auto& slot : Pool.slots) slot.abort = false;
    for (SearchThread& th : SearchThreads) {
      th.nodes = 0;
      memset(&th.stack, 0, sizeof th.stack);
      reset_line(th);
    }
  }
  void TearDown() override {
    Pool.threadCount = 1;
    for (auto& slot : Pool.slots) {
      slot.abort = false;
      slot.currentSplit = nullptr;
    }
    VeltrixHelpers::TearDown();
  }

  // A node at ply 2 whose first move is done, owned by `master` and shared with
  // slot 1; the window is one that every move beats when `failHigh`.
  Split& open(const Position& pos, int master, bool failHigh) {
    sp_ = std::make_unique<Split>();
    Split& sp = *sp_;
    sp.pos = pos;
    sp.pos.ThreadSlot = master;
    sp.line.stack = SearchThreads[master].stack;
    sp.line.nnue = SearchThreads[master].nnue[2];
    sp.parent = nullptr;
    sp.master = master;
    for (auto& helper : sp.helpers) helper = false;
    sp.helpers[1] = true;
    sp.workers = 2;
    sp.cutoff = false;
    const int beta = failHigh ? -5000 : 5000;
    sp.node = NodeFrame{beta - 1, beta, 5, 2, AllNode, evaluate(pos), false, 0, 0, 0};
    picker_start(sp.picker, 0, 0, 0, false);
    sp.moveCount = 1;
    sp.bestValue = -SCORE_INFINITE;
    sp.bestMove = 0;
    return sp;
  }

  // One participant's work at the split point.
  static void work(Position& pos, Split& sp) { SplitSearch<VeltrixThreads>::search_at(Pool, pos, sp); }

  std::unique_ptr<Split> sp_;
};

TEST_F(SplitPointWork, AFailHighStopsEveryOtherThreadThere) {
  Position pos = veltrix_position(Middlegames[0]);
  Split& sp = open(pos, 2, true);
  Position own = sp.pos;
  work(own, sp);

  EXPECT_TRUE(sp.cutoff);
  EXPECT_GE(sp.bestValue, sp.node.beta);
  EXPECT_TRUE(move_is_legal_here(pos, sp.bestMove));
  EXPECT_EQ(sp.moveCount, 2) << "no move is taken after the fail high";
  EXPECT_TRUE(Pool.slots[1].abort) << "the helper's move is of no use any more";
  EXPECT_FALSE(Pool.slots[2].abort) << "the thread that failed high has the node's result";
  EXPECT_FALSE(Pool.slots[0].abort) << "a thread not working there goes on";
  EXPECT_EQ(sp.workers, 1) << "the helper is still on its way back";

  // The helper's search ends at once, and it takes no further move.
  Position helperPos = sp.pos;
  helperPos.ThreadSlot = 1;
  EXPECT_EQ(search_node(SearchThreads[1], helperPos, -100, 100, 12, 3, PvNode), 0);
  EXPECT_LT(SearchThreads[1].nodes.load(), 10u);
  work(helperPos, sp);
  EXPECT_EQ(sp.moveCount, 2);
  EXPECT_EQ(sp.workers, 0);
  EXPECT_FALSE(sp.helpers[1]) << "a later cut-off here must not reach work it takes up elsewhere";
}

TEST_F(SplitPointWork, AHelperFailingHighStopsTheMainThreadsMove) {
  Position pos = veltrix_position(Middlegames[1]);
  Split& sp = open(pos, 0, true);
  Position helperPos = sp.pos;
  helperPos.ThreadSlot = 1;
  work(helperPos, sp);
  EXPECT_TRUE(sp.cutoff);
  EXPECT_TRUE(Pool.slots[0].abort);
  EXPECT_FALSE(Pool.slots[1].abort);
}

// A master whose own work became useless gives its split point up, so that its
// helpers do not finish moves whose results it will throw away.
TEST_F(SplitPointWork, AStoppedMasterReleasesItsHelpers) {
  Position pos = veltrix_position(Middlegames[2]);
  Split& sp = open(pos, 2, false);
  Pool.slots[2].abort = true;
  Position own = sp.pos;
  work(own, sp);
  EXPECT_TRUE(sp.cutoff);
  EXPECT_TRUE(Pool.slots[1].abort);
  EXPECT_EQ(sp.bestMove, 0u) << "a stopped search records nothing";
}

// A helper taking up a split point two plies down evaluates exactly as a full
// refresh does, whatever its own accumulators held before: its search is the same
// node for node.
TEST_F(SplitPointWork, AHelperEvaluatesAsAFullRefreshWould) {
  ASSERT_TRUE(load_real_network());
  Engine.nnueEval = 1;
  auto helper_search = [&](bool fullRefresh) {
    SetUp();
    Engine.nnueEval = 1;
    ForceFullRefresh = fullRefresh;
    // The master's line: two moves from the start, the node's accumulator brought
    // up to date as its first move would have done.
    SearchThread& master = SearchThreads[2];
    Position pos = veltrix_position(StartFen);
    pos.ThreadSlot = 2;
    int ply = 0;
    for (const char* text : {"e2e4", "c7c5"}) play_move(master, pos, parse_move(pos, text, Dialect::Veltrix), ply++);
    evaluate_at(master, pos, ply);
    // Leftovers of another line in the helper's records.
    SearchThread& helper = SearchThreads[1];
    Position other = veltrix_position(Middlegames[0]);
    other.ThreadSlot = 1;
    reset_line(helper);
    for (int p = 0; p < 4; p++) {
      MoveList list = legal_moves(other);
      play_move(helper, other, list.moves[1].move, p);
      evaluate_at(helper, other, p + 1);
    }
    Split& sp = open(pos, 2, false);
    sp.node.alpha = -SCORE_INFINITE;
    sp.node.beta = SCORE_INFINITE;
    sp.node.nodeType = PvNode;
    sp.node.depth = 5;
    sp.helpers[1] = true;
    sp.workers = 1;
    Pool.slots[1].currentSplit = &sp;
    SplitSearch<VeltrixThreads>::join(Pool, 1);
    ForceFullRefresh = false;
    return std::tuple(sp.bestValue, sp.bestMove, helper.nodes.load());
  };
  const auto incremental = helper_search(false);
  const auto full = helper_search(true);
  EXPECT_EQ(incremental, full);
  EXPECT_GT(std::get<2>(full), 1000u);
}

}  // namespace
