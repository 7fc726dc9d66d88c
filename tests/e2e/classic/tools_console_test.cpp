// The console tools end to end: self-play without usable start positions, and the
// bench run from the command line as test scripts run it.
#include <fstream>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "support/engine_process.h"

namespace {

const char* const Banner = "Veltrix 8.0 Jan. 2017 x64\nby Brenmoor \n";
const char* const SelfPlayStart = "\nselfplaying games...\nmax game size = 1000\n\n";
const char* const HelpEnd = "e2e4 .......... make move\n\n";

std::string after_banner(const std::string& out) {
  EXPECT_EQ(out.rfind(Banner, 0), 0u) << out;
  return out.substr(std::string(Banner).size());
}

TEST(SelfPlayConsole, MissingBookFileWaitsForAKeyAndReturns) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN);
  // The first "help" only serves as the key press: its first character is taken and
  // the rest of the line means nothing. The second is a command again.
  engine.send_raw("sp\nhelp\nhelp\nquit\n");
  std::string out = after_banner(engine.read_to_end(30000));
  EXPECT_EQ(engine.wait_exit(), 0);
  std::string expected = std::string(SelfPlayStart) + "error: open book file read!\n\nuci  ..";
  EXPECT_EQ(out.rfind(expected, 0), 0u) << out;
  EXPECT_TRUE(out.ends_with(HelpEnd)) << out;
  EXPECT_EQ(out.find(HelpEnd), out.size() - std::string(HelpEnd).size()) << "help printed twice:\n" << out;
}

TEST(SelfPlayConsole, BookFileWithoutUsableLinesAndEndOfInput) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN);
  std::ofstream(engine.work_dir() + "/book.epd") << "\n \n  rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\n";
  // The end of input stands in for the key press; the program then ends as "quit" does.
  engine.send("sp");
  engine.close_input();
  std::string out = after_banner(engine.read_to_end(30000));
  EXPECT_EQ(engine.wait_exit(), 0);
  EXPECT_EQ(out, std::string(SelfPlayStart) + "loading book fens...\nbook fen size = 0\n\n");
}

TEST(SelfPlayConsole, QuitEndsTheGames) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN);
  std::ofstream(engine.work_dir() + "/book.epd") << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\n";
  engine.send("sp");
  std::string out = engine.read_until("book fen size = 1\n\n", 30000);
  EXPECT_TRUE(out.ends_with("book fen size = 1\n\n")) << out;
  engine.send("quit");
  // A thousand games would take minutes.
  EXPECT_EQ(engine.wait_exit(10000), 0);
}

TEST(BenchCommandLine, RunsTheBenchAndExits) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN, {"bench"});
  std::string out = after_banner(engine.read_to_end(600000));
  EXPECT_EQ(engine.wait_exit(), 0);
  EXPECT_EQ(out.rfind("start bench test!\n", 0), 0u) << out.substr(0, 300);
  EXPECT_NE(out.find("test nr. 15\n"), std::string::npos);
  // Every test ends with the console form of "bestmove".
  const std::regex bestMove("\nmove [a-h][1-8][a-h][1-8][nbrq]? \n");
  auto moves = std::sregex_iterator(out.begin(), out.end(), bestMove);
  EXPECT_EQ(std::distance(moves, std::sregex_iterator()), 15);
  std::smatch summary;
  ASSERT_TRUE(std::regex_search(out, summary,
                                std::regex("\ntime\t: [0-9]+ ms \nsolved\t: ([0-9]+) / 15\nnodes\t: ([0-9]+)\n"
                                           "nps\t: [0-9]+\n\n")))
      << out.substr(out.size() > 1500 ? out.size() - 1500 : 0);
  EXPECT_GT(std::stoull(summary[2]), 0u);
  EXPECT_TRUE(out.ends_with("\nbench test finished!\n"));
}

}  // namespace
