// The Threads option end to end: searches with a helper thread, the count changed
// between searches, and "stop" and "quit" arriving while the helper is busy.
#include <chrono>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "board/movegen.h"
#include "board/movetext.h"
#include "support/board_setup.h"
#include "support/engine_process.h"

namespace {

using Clock = std::chrono::steady_clock;

long long ms_since(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

const char* const Middlegame = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - -";

struct TwoThreadEngine {
  EngineProcess engine{VELTRIX_CLASSIC_BIN};
  TwoThreadEngine() {
    engine.send("uci");
    EXPECT_NE(engine.read_until("uciok\n", StartupTimeoutMs).find("uciok"), std::string::npos);
    engine.send("setoption name Hash value 16");
    engine.send("setoption name OwnBook value false");
    engine.send("setoption name DebugInfoString value true");
    engine.send("setoption name Threads value 2");
    engine.send("isready");
    std::string out = engine.read_until("readyok\n", StartupTimeoutMs);
    // A single-processor machine keeps one thread and says nothing.
    twoThreads = out.find("info string Threads = 2\n") != std::string::npos;
  }
  // The answer is made on the game position: every search starts from the FEN again.
  void go(const std::string& limits) {
    engine.send(std::string("position fen ") + Middlegame);
    engine.send("go " + limits);
  }
  std::string bestmove_line(int timeoutMs) {
    engine.read_until("bestmove ", timeoutMs);
    return "bestmove " + engine.read_until("\n", 2000);
  }
  bool twoThreads = false;
};

void expect_legal_answer(const std::string& bestmoveLine) {
  std::smatch m;
  ASSERT_TRUE(std::regex_search(bestmoveLine, m, std::regex("^bestmove ([a-h][1-8][a-h][1-8][nbrq]?) ")))
      << bestmoveLine;
  Position pos = position_from(Middlegame);
  EXPECT_NE(parse_move(pos, m[1].str().c_str()), 0u) << bestmoveLine;
}

TEST(ClassicThreads, CountChangesBetweenSearches) {
  TwoThreadEngine uci;
  uci.go("depth 10");
  expect_legal_answer(uci.bestmove_line(30000));

  uci.engine.send("setoption name Threads value 1");
  uci.go("depth 10");
  std::string out = uci.engine.read_until("bestmove ", 30000);
  if (uci.twoThreads) {
    EXPECT_NE(out.find("info string Threads = 1\n"), std::string::npos);
  }
  expect_legal_answer("bestmove " + uci.engine.read_until("\n", 2000));

  uci.engine.send("setoption name Threads value 2");
  uci.engine.send("setoption name Threads value 2");  // unchanged: no echo, nothing restarted
  uci.go("movetime 300");
  out = uci.engine.read_until("bestmove ", 5000);
  if (uci.twoThreads) {
    size_t first = out.find("info string Threads = 2\n");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(out.find("info string Threads = 2\n", first + 1), std::string::npos);
  }
  expect_legal_answer("bestmove " + uci.engine.read_until("\n", 2000));

  uci.engine.send("quit");
  EXPECT_EQ(uci.engine.wait_exit(5000), 0);
}

// The helper drops its move as soon as the main thread stops, so the answer is
// not held up by the size of the helper's subtree.
TEST(ClassicThreads, StopEndsTheHelpersWorkAtOnce) {
  TwoThreadEngine uci;
  uci.go("infinite");
  EXPECT_NE(uci.engine.read_until("info depth 9 ", 30000).find("info depth 9 "), std::string::npos);
  auto stopAt = Clock::now();
  uci.engine.send("stop");
  expect_legal_answer(uci.bestmove_line(5000));
  EXPECT_LE(ms_since(stopAt), 500);
}

TEST(ClassicThreads, QuitDuringASearchEndsEveryThread) {
  TwoThreadEngine uci;
  uci.go("infinite");
  EXPECT_NE(uci.engine.read_until("info depth 9 ", 30000).find("info depth 9 "), std::string::npos);
  auto quitAt = Clock::now();
  uci.engine.send("quit");
  EXPECT_EQ(uci.engine.wait_exit(5000), 0);
  EXPECT_LE(ms_since(quitAt), 1000);
}

}  // namespace
