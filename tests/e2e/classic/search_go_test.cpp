// "go" end to end: the report lines byte for byte, the answer and its timing
// under every kind of limit, and the commands read while a search runs.
#include <chrono>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

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

// A classic engine switched to UCI, with a small table so that it starts quickly.
struct UciEngine {
  EngineProcess engine{VELTRIX_CLASSIC_BIN};
  UciEngine() {
    engine.send("uci");
    EXPECT_NE(engine.read_until("uciok\n").find("uciok"), std::string::npos);
    engine.send("setoption name Hash value 16");
    engine.send("setoption name OwnBook value false");
    ready();
  }
  void ready() {
    engine.send("isready");
    EXPECT_NE(engine.read_until("readyok\n").find("readyok"), std::string::npos);
  }
  // Everything up to and including the "bestmove" line.
  std::string until_bestmove(int timeoutMs = 20000) {
    std::string out = engine.read_until("bestmove ", timeoutMs);
    return out + engine.read_until("\n", 2000);
  }
};

// The report lines of the output; the diagnostics ("info string") are left out.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, 12, "info string ") != 0) lines.push_back(line);
  return lines;
}

std::string last_line_starting(const std::string& text, const std::string& prefix) {
  std::string found;
  for (const std::string& line : lines_of(text))
    if (line.compare(0, prefix.size(), prefix) == 0) found = line;
  return found;
}

const std::regex MoveText("[a-h][1-8][a-h][1-8][nbrq]?");
const std::regex InfoLine(
    "info depth \\d+ seldepth \\d+ multipv \\d+ score (cp -?\\d+|mate -?\\d+) (upperbound |lowerbound )?"
    "nodes \\d+ nps \\d+ tbhits \\d+ time \\d+ pv ([a-h][1-8][a-h][1-8][nbrq]? )*");
const std::regex BestmoveLine("bestmove ([a-h][1-8][a-h][1-8][nbrq]?|0000) (ponder [a-h][1-8][a-h][1-8][nbrq]? )?");

// The move of a "bestmove" line, checked to be legal in the position.
void expect_legal_answer(const std::string& fen, const std::string& bestmoveLine) {
  std::smatch m;
  ASSERT_TRUE(std::regex_match(bestmoveLine, m, BestmoveLine)) << bestmoveLine;
  Position pos = position_from(fen);
  Move move = parse_move(pos, m[1].str().c_str());
  EXPECT_NE(move, 0u) << bestmoveLine;
  if (m[2].matched && move) {
    make_move(pos, move, 1);
    std::string ponder = m[2].str().substr(7, m[2].length() - 8);
    EXPECT_NE(parse_move(pos, ponder.c_str()), 0u) << bestmoveLine;
  }
}

TEST(ClassicGo, DepthSearchReportsEveryIterationAndALegalMove) {
  UciEngine uci;
  uci.engine.send("position startpos moves e2e4 c7c5");
  uci.engine.send("go depth 5");
  std::string out = uci.until_bestmove();
  int lastDepth = 0;
  for (const std::string& line : lines_of(out)) {
    if (line.compare(0, 9, "bestmove ") == 0) continue;
    ASSERT_TRUE(std::regex_match(line, InfoLine)) << "[" << line << "]";
    std::smatch m;
    std::regex_search(line, m, std::regex("^info depth (\\d+)"));
    int depth = std::stoi(m[1]);
    EXPECT_GE(depth, lastDepth);
    lastDepth = depth;
  }
  EXPECT_EQ(lastDepth, 5);
  expect_legal_answer("rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -", last_line_starting(out, "bestmove "));
}

TEST(ClassicGo, MovetimeAnswersInAboutThatTime) {
  UciEngine uci;
  uci.engine.send("position startpos");
  auto start = Clock::now();
  uci.engine.send("go movetime 300");
  std::string out = uci.until_bestmove(5000);
  long long took = ms_since(start);
  EXPECT_GE(took, 250) << "the whole move time but the overhead";
  EXPECT_LE(took, 1000);
  expect_legal_answer(StartFen, last_line_starting(out, "bestmove "));
}

TEST(ClassicGo, ClockSearchKeepsWellInsideTheClock) {
  UciEngine uci;
  uci.engine.send("position startpos moves d2d4 g8f6 c2c4 e7e6");
  auto start = Clock::now();
  uci.engine.send("go wtime 2000 btime 2000 winc 100 binc 100");
  std::string out = uci.until_bestmove(5000);
  long long took = ms_since(start);
  EXPECT_LE(took, 1500) << "2 s + 0.1 s allots 33 + 100 ms; the clock holds 2000";
  expect_legal_answer("rnbqkb1r/pppp1ppp/4pn2/8/2PP4/8/PP2PPPP/RNBQKBNR w KQkq -",
                      last_line_starting(out, "bestmove "));
}

TEST(ClassicGo, InfiniteRunsUntilStopAndAnswersIsreadyAtOnce) {
  UciEngine uci;
  uci.engine.send("position startpos");
  uci.engine.send("go infinite");
  uci.engine.send("isready");
  std::string early = uci.engine.read_until("readyok\n", 700);
  EXPECT_NE(early.find("readyok"), std::string::npos) << "isready is answered during the search";
  early += uci.engine.read_until("bestmove", 300);
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << "and the search goes on";
  auto stopAt = Clock::now();
  uci.engine.send("stop");
  std::string out = early + uci.until_bestmove(3000);
  EXPECT_LE(ms_since(stopAt), 500);
  std::string best = last_line_starting(out, "bestmove ");
  expect_legal_answer(StartFen, best);
  EXPECT_EQ(best.find("ponder"), std::string::npos) << "a stopped infinite search names no ponder move";
  uci.ready();  // the command loop reads again
}

TEST(ClassicGo, PonderhitTurnsThePonderSearchIntoATimedOne) {
  UciEngine uci;
  uci.engine.send("position startpos moves e2e4");
  auto start = Clock::now();
  uci.engine.send("go ponder wtime 4000 btime 4000");
  std::string early = uci.engine.read_until("bestmove", 600);
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << "pondering waits for the opponent";
  uci.engine.send("ponderhit");
  std::string out = early + uci.until_bestmove(3000);
  // 4000 ms short of time allots 100 ms from the start of pondering: long passed.
  EXPECT_LE(ms_since(start), 1200);
  expect_legal_answer("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -", last_line_starting(out, "bestmove "));
}

TEST(ClassicGo, SingleLegalMoveIsAnsweredAtOnceAtDepthOne) {
  UciEngine uci;
  uci.engine.send("position fen 7k/8/8/8/8/8/8/6RK b - - 0 1");
  auto start = Clock::now();
  uci.engine.send("go wtime 600000 btime 600000");
  std::string out = uci.until_bestmove(3000);
  EXPECT_LE(ms_since(start), 1000);
  std::vector<std::string> lines = lines_of(out);
  ASSERT_EQ(lines.size(), 2u) << out;
  EXPECT_TRUE(std::regex_match(lines[0], InfoLine)) << lines[0];
  EXPECT_EQ(lines[0].substr(0, 13), "info depth 1 ");
  EXPECT_NE(lines[0].find(" multipv 1 score cp 0 nodes 0 "), std::string::npos) << "nothing searched: " << lines[0];
  EXPECT_NE(lines[0].find(" pv h8h7 "), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].substr(0, 14), "bestmove h8h7 ");
}

TEST(ClassicGo, MatedPositionAnswersTheNullMove) {
  UciEngine uci;
  uci.engine.send("position fen R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
  uci.engine.send("go depth 10");
  std::string out = uci.until_bestmove(3000);
  EXPECT_NE(out.find("\nbestmove 0000 \n"), std::string::npos) << out;
  EXPECT_NE(out.find(" score mate 0 "), std::string::npos) << out;
}

TEST(ClassicGo, MateScoresPrintAsMovesToMate) {
  UciEngine uci;
  uci.engine.send("position fen 7k/8/8/8/8/8/R7/1R4K1 w - - 0 1");
  uci.engine.send("go depth 6");
  std::string out = uci.until_bestmove(5000);
  std::string last = last_line_starting(out, "info depth 6 ");
  EXPECT_NE(last.find(" score mate 2 "), std::string::npos) << out;

  uci.engine.send("position fen 7k/R7/8/8/8/p7/8/1R4K1 b - - 0 1");
  uci.engine.send("go depth 6");
  out = uci.until_bestmove(5000);
  last = last_line_starting(out, "info depth 6 ");
  EXPECT_NE(last.find(" score mate -1 "), std::string::npos) << out;
}

// Weakened play waits for the clock, as if it had been thinking all along; without
// a clock it answers once its level is reached.
TEST(ClassicGo, PlayLevelWaitsOnlyForAClock) {
  UciEngine uci;
  uci.engine.send("setoption name UsePlayLevel value true");
  uci.engine.send("setoption name PlayLevel value 1");
  for (const char* limits : {"depth 4", "nodes 5000"}) {
    uci.engine.send("position startpos");
    uci.engine.send(std::string("go ") + limits);
    expect_legal_answer(StartFen, last_line_starting(uci.until_bestmove(5000), "bestmove "));
  }
  uci.engine.send("position startpos");
  uci.engine.send("go infinite");
  std::string early = uci.engine.read_until("bestmove", 500);
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << early;
  uci.engine.send("stop");
  expect_legal_answer(StartFen, last_line_starting(early + uci.until_bestmove(5000), "bestmove "));
  uci.engine.send("position startpos");
  auto start = Clock::now();
  uci.engine.send("go movetime 600");
  expect_legal_answer(StartFen, last_line_starting(uci.until_bestmove(5000), "bestmove "));
  EXPECT_GE(ms_since(start), 550);
}

TEST(ClassicGo, EndOfInputLetsATimedSearchFinishButEndsAnInfiniteOne) {
  {
    UciEngine uci;
    uci.engine.send("position startpos");
    uci.engine.send("go depth 6");
    uci.engine.close_input();
    std::string out = uci.engine.read_to_end(10000);
    EXPECT_NE(out.find("bestmove "), std::string::npos);
    EXPECT_EQ(uci.engine.wait_exit(5000), 0);
  }
  {
    UciEngine uci;
    uci.engine.send("position startpos");
    uci.engine.send("go infinite");
    uci.engine.close_input();
    uci.engine.read_to_end(5000);
    EXPECT_EQ(uci.engine.wait_exit(5000), 0) << "an interface that is gone will never send stop";
  }
}

TEST(ClassicGo, QuitDuringASearchEndsTheProgram) {
  UciEngine uci;
  uci.engine.send("position startpos");
  uci.engine.send("go infinite");
  uci.engine.send("quit");
  std::string out = uci.engine.read_to_end(5000);
  EXPECT_EQ(out.find("bestmove"), std::string::npos);
  EXPECT_EQ(uci.engine.wait_exit(5000), 0);
}

}  // namespace
