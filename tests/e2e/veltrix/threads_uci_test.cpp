// veltrix's Threads option end to end: searches with a helper thread, the count
// changed between searches, and "stop" and "quit" arriving while the helper is busy.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "veltrix_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

long long ms_since(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

const std::string Middlegame = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - -";

// A single-processor machine keeps one thread; the tests then check the same
// answers without the helper. The fallback evaluation keeps the searches quick
// under the thread sanitizer.
struct TwoThreadEngine {
  VeltrixEngine v;
  explicit TwoThreadEngine(bool network = false) {
    v.uci();
    if (!network) v.use_fallback();
    v.engine.send("setoption name Hash value 16");
    v.engine.send("setoption name Threads value 2");
    EXPECT_EQ(v.sync(), "");
  }
  // The answer is made on the game position: every search starts from the FEN again.
  void go(const std::string& limits) {
    v.engine.send("position fen " + Middlegame);
    v.engine.send("go " + limits);
  }
  // The search's output up to its "bestmove" line, which must carry a legal move.
  std::string answer(int timeoutMs) {
    std::string out = v.engine.read_until("bestmove ", timeoutMs);
    out += v.engine.read_until("\n", 2000);
    std::vector<std::string> lines = lines_of(out);
    EXPECT_FALSE(lines.empty());
    if (!lines.empty()) checked_best_move(lines.back(), Middlegame);
    return out;
  }
};

TEST(VeltrixThreads, CountChangesBetweenSearches) {
  TwoThreadEngine t;
  t.go("depth 10");
  t.answer(30000);
  t.v.engine.send("setoption name Threads value 1");
  t.go("depth 10");
  t.answer(30000);
  t.v.engine.send("setoption name Threads value 2");
  t.v.engine.send("setoption name Threads value 2");  // unchanged: nothing restarted
  t.go("movetime 300");
  t.answer(5000);
  t.v.engine.send("setoption name Threads value 64");  // as many as the machine has
  t.go("depth 9");
  t.answer(30000);
  t.v.engine.send("quit");
  EXPECT_EQ(t.v.engine.wait_exit(5000), 0);
}

TEST(VeltrixThreads, TheNetworkWithAHelper) {
  TwoThreadEngine t(true);
  t.go("depth 9");
  t.answer(60000);
  t.go("movetime 500");
  t.answer(5000);
}

// The helper drops its move as soon as the main thread stops, so the answer is not
// held up by the size of the helper's subtree.
TEST(VeltrixThreads, StopEndsTheHelpersWorkAtOnce) {
  TwoThreadEngine t;
  t.go("infinite");
  EXPECT_NE(t.v.engine.read_until("info depth 9 ", 30000).find("info depth 9 "), std::string::npos);
  auto stopAt = Clock::now();
  t.v.engine.send("stop");
  t.answer(5000);
  EXPECT_LE(ms_since(stopAt), 500);
  EXPECT_EQ(t.v.sync(), "");
}

TEST(VeltrixThreads, QuitDuringASearchEndsEveryThread) {
  TwoThreadEngine t;
  t.go("infinite");
  EXPECT_NE(t.v.engine.read_until("info depth 9 ", 30000).find("info depth 9 "), std::string::npos);
  auto quitAt = Clock::now();
  t.v.engine.send("quit");
  std::string out = t.v.engine.read_to_end(5000);
  EXPECT_EQ(out.find("bestmove"), std::string::npos) << out;
  ASSERT_GE(out.size(), 19u);
  EXPECT_EQ(out.substr(out.size() - 19), "info string exit...");
  EXPECT_EQ(t.v.engine.wait_exit(5000), 0);
  EXPECT_LE(ms_since(quitAt), 1000);
}

// The end of the input while a search without limits runs ends the program as
// "quit" does, helpers and all.
TEST(VeltrixThreads, TheEndOfInputEndsAnInfiniteSearchWithHelpers) {
  TwoThreadEngine t;
  t.go("infinite");
  EXPECT_NE(t.v.engine.read_until("info depth 8 ", 30000).find("info depth 8 "), std::string::npos);
  t.v.engine.close_input();
  std::string out = t.v.engine.read_to_end(5000);
  EXPECT_EQ(out.find("bestmove"), std::string::npos) << out;
  EXPECT_EQ(t.v.engine.wait_exit(5000), 0);
}

}  // namespace
