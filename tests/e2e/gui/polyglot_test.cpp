// Each program behind Debian's polyglot, the adapter through which interfaces of
// the older xboard protocol run UCI engines: a few moves of a game on the clock.
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "gui_engine.h"

namespace {

const char* const PolyglotPath = "/usr/games/polyglot";

template <typename Program>
class Polyglot : public ::testing::Test {};
TYPED_TEST_SUITE(Polyglot, Programs, ProgramName);

// The engine's next "move ..." through the adapter, legal in the position, made on it.
void expect_legal_reply(EngineProcess& adapter, Position& pos, Dialect rules) {
  std::string out = adapter.read_until("\n", 15000);
  std::smatch m;
  const std::regex reply("move (\\S+)\n");
  while (!out.empty() && !std::regex_match(out, m, reply)) {
    ASSERT_EQ(out.find("Error"), std::string::npos) << out;
    ASSERT_EQ(out.find("illegal"), std::string::npos) << out;
    ASSERT_EQ(out.find("resign"), std::string::npos) << out;
    out = adapter.read_until("\n", 15000);
  }
  ASSERT_FALSE(out.empty()) << "no move within 15 s";
  Move move = parse_move(pos, m[1].str().c_str(), rules);
  ASSERT_NE(move, 0u) << m[1];
  make_move(pos, move, 1);
}

TYPED_TEST(Polyglot, PlaysAGameOnTheClockThroughTheAdapter) {
  if (!std::filesystem::exists(PolyglotPath)) GTEST_SKIP() << "polyglot (Debian package polyglot) is not installed";
  const std::string dir = make_temp_dir();
  std::ofstream(dir + "/engine.ini") << "[PolyGlot]\nEngineCommand = " << TypeParam::Binary << "\nEngineDir = " << dir
                                     << "\nLog = false\nBook = false\n[Engine]\nHash = 16\n";
  {
    EngineProcess adapter(PolyglotPath, {dir + "/engine.ini"}, dir);
    adapter.send("xboard");
    adapter.send("protover 2");
    std::string features = adapter.read_until("feature done=1\n", 30000);
    ASSERT_NE(features.find("feature done=1\n"), std::string::npos) << features;
    EXPECT_NE(features.find("feature myname=\"Veltrix"), std::string::npos) << features;
    adapter.send("accepted usermove");
    adapter.send("new");
    // Ten seconds for the game, as an interface tells it before every move.
    adapter.send("level 0 0:10 0");
    Position pos = position_from(StartFen, TypeParam::Rules);
    const char* const ourMoves[] = {"e2e4", "g1f3", "f1c4"};
    for (const char* text : ourMoves) {
      // Our move if it is legal, else the first legal move.
      Move move = parse_move(pos, text, TypeParam::Rules);
      if (!move) move = legal_moves(pos).moves[1].move;
      adapter.send("time 1000");
      adapter.send("otim 1000");
      adapter.send("usermove " + move_text(move));
      make_move(pos, move, 1);
      expect_legal_reply(adapter, pos, TypeParam::Rules);
    }
    // The engine takes over White as well.
    adapter.send("go");
    expect_legal_reply(adapter, pos, TypeParam::Rules);
    adapter.send("ping 7");
    EXPECT_NE(adapter.read_until("pong 7\n", 10000).find("pong 7\n"), std::string::npos);
    adapter.send("quit");
    EXPECT_EQ(adapter.wait_exit(10000), 0);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
