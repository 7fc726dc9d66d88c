// The console mode of veltrix-classic, end to end.
#include <string>

#include <gtest/gtest.h>

#include "support/engine_process.h"

namespace {

const char* const Banner = "Veltrix 8.0 Jan. 2017 x64\nby Brenmoor \n";

// Runs the program on the given input lines, end of input included.
std::string run(const std::string& input) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN);
  engine.send_raw(input);
  engine.close_input();
  std::string out = engine.read_to_end(30000);
  EXPECT_EQ(engine.wait_exit(), 0);
  EXPECT_EQ(out.rfind(Banner, 0), 0u) << out;
  return out.substr(std::string(Banner).size());
}

TEST(Console, HelpText) {
  EXPECT_EQ(run("help\n? \n?\n"),
            "\nuci  .......... switch to uci mode\n"
            "new  .........  new game starting\n"
            "makebook ...... generating a new book from PGN games\n"
            "addbook ....... add more moves to the old book from PGN games\n"
            "sbook ......... analyse and score book moves\n"
            "bench ......... bench test\n"
            "sd ............ set depth\n"
            "st ............ set time\n"
            "sp ............ selfplay games\n"
            "go ............ start search\n"
            "quit .......... exit program\n"
            "e2e4 .......... make move\n\n"
            "\nuci  .......... switch to uci mode\n"
            "new  .........  new game starting\n"
            "makebook ...... generating a new book from PGN games\n"
            "addbook ....... add more moves to the old book from PGN games\n"
            "sbook ......... analyse and score book moves\n"
            "bench ......... bench test\n"
            "sd ............ set depth\n"
            "st ............ set time\n"
            "sp ............ selfplay games\n"
            "go ............ start search\n"
            "quit .......... exit program\n"
            "e2e4 .......... make move\n\n");
}

TEST(Console, DepthAndTimeAreClamped) {
  EXPECT_EQ(run("sd\n0\nsd\n500\nsd\nx\n"),
            "depth = \ndepth set to = 1\n"
            "depth = \ndepth set to = 119\n"
            "depth = \ndepth set to = 119\n");
  EXPECT_EQ(run("st\n0\nst\n99999999\nst\n7\n"),
            "time sec = \ntime set to = 1\n"
            "time sec = \ntime set to = 36000000\n"
            "time sec = \ntime set to = 7\n");
}

// The depth set by hand holds for every "go" typed at the console.
TEST(Console, DepthSetByHandHoldsForEveryGo) {
  std::string out = run("sd\n2\ngo\ngo\n");
  size_t first = out.find("\nmove "), second = out.find("\nmove ", first + 1);
  EXPECT_NE(second, std::string::npos) << out;
  EXPECT_EQ(out.find("\ndepth 3/"), std::string::npos) << out;
  EXPECT_NE(out.find("\ndepth 2/", first), std::string::npos) << "the second search reached depth 2 too:\n" << out;
}

TEST(Console, TypedMoves) {
  // An illegal move changes nothing and prints nothing; a legal one prints the board.
  EXPECT_EQ(run("e2e5\n"), "");
  std::string out = run("e2e4\n");
  EXPECT_NE(out.find("4 |    |    |    |    | +P |    |    |    |\n"), std::string::npos) << out;
  EXPECT_NE(out.find("black to move\nGamePly = 2 , HashAge = 0 , Fifty = 0\nEpTarget = e3 , CastleRights= KQkq\n"),
            std::string::npos)
      << out;
}

TEST(Console, NewGameAndPerft) {
  // Each search takes the next age; a new game starts the count again.
  std::string out = run("sd\n1\ngo\ngo\nnew\ne2e4\n");
  EXPECT_NE(out.find("white to move\nGamePly = 3 , HashAge = 2 , "), std::string::npos) << out;
  EXPECT_NE(out.find("black to move\nGamePly = 2 , HashAge = 0 , "), std::string::npos) << out;
  out = run("e2e4\nnew\nperft 2\n");
  size_t perft = out.find("a2a3: 20\n");
  ASSERT_NE(perft, std::string::npos) << out;
  EXPECT_NE(out.find("g1h3: 20\n\nNodes searched: 400\nTime: "), std::string::npos) << out;
  EXPECT_NE(out.find(" ms, NPS: "), std::string::npos);
  EXPECT_EQ(run("perft 0\n").rfind("\nNodes searched: 1\nTime: ", 0), 0u);
}

TEST(Console, QuitStopsReading) { EXPECT_EQ(run("quit\nhelp\n"), ""); }

}  // namespace
