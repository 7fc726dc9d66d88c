// Syzygy tables in both programs, as an interface sets them: the tables a path
// finds, the root moves the tables allow, the scores and tablebase hits of the
// reports, and won endgames played out to mate.
#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui_engine.h"
#include "support/syzygy_tables.h"

namespace {

// What the last report of a search says, and the answer.
struct Answer {
  std::string score;      // "cp N" or "mate N"
  long long tbhits = -1;  // -1 when the line has no such field
  std::string wdl;        // "W D L" when the line has the field
  std::string move;
};

enum class Verdict { Win, Draw, Loss };

template <typename Program>
class GuiSyzygy : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_SYZYGY(); }

  // The count the engine reports for the path, -1 for no report.
  int set_path(const std::string& path) {
    g.engine.send("setoption name SyzygyPath value " + path);
    std::smatch m;
    const std::string out = g.engine.read_until(" tablebases\n");
    return std::regex_search(out, m, std::regex("info string Found (\\d+) tablebases\n$")) ? std::stoi(m[1]) : -1;
  }

  void set(const std::string& option, const std::string& value) {
    g.engine.send("setoption name " + option + " value " + value);
  }

  // `moves` are those after the FEN, each with a space before it; `pos` is the
  // position they lead to, where the answer must be legal.
  Answer search(const std::string& fen, const std::string& limits, const Position& pos, const std::string& moves = "") {
    const std::string out = g.search("fen " + fen + (moves.empty() ? "" : " moves" + moves), limits, 60000);
    Answer a;
    const std::vector<std::string> lines = search_lines(out);
    std::smatch m;
    if (!lines.empty() && std::regex_search(lines.back(), m, std::regex(" score ((cp|mate) -?\\d+) "))) {
      a.score = m[1];
      a.tbhits = report_field(lines.back(), "tbhits");
    }
    if (!lines.empty() && std::regex_search(lines.back(), m, std::regex(" wdl (\\d+ \\d+ \\d+) "))) a.wdl = m[1];
    a.move = legal_answer(out, pos, Program::Rules);
    return a;
  }

  Answer search(const std::string& fen, const std::string& limits) {
    return search(fen, limits, position_from(fen, Program::Rules));
  }

  static bool shows(const Answer& a, Verdict v) {
    std::smatch m;
    const bool mate = std::regex_match(a.score, m, std::regex("mate (-?\\d+)"));
    if (v == Verdict::Win) return a.score == "cp " + std::to_string(Program::TableWin) || (mate && std::stoi(m[1]) > 0);
    if (v == Verdict::Loss)
      return a.score == "cp " + std::to_string(-Program::TableWin) || (mate && std::stoi(m[1]) < 0);
    return a.score == Program::DrawScore;
  }

  GuiEngine<Program> g;
};
TYPED_TEST_SUITE(GuiSyzygy, Programs, ProgramName);

TYPED_TEST(GuiSyzygy, ThePathFindsTheTablesOfItsFolders) {
  EXPECT_EQ(this->set_path(SyzygyTables), 35);
  // Folders separated by ":", each table counted once.
  const std::string dir = make_temp_dir();
  for (const char* file : {"KQvK.rtbw", "KQvK.rtbz"})
    std::filesystem::copy_file(SyzygyTables + "/" + file, dir + "/" + file);
  EXPECT_EQ(this->set_path(dir + ":/nowhere"), 1);
  EXPECT_EQ(this->set_path(dir + ":" + SyzygyTables), 35);
  // Without its distance-to-zero file a table still ranks the root moves.
  std::filesystem::remove(dir + "/KQvK.rtbz");
  EXPECT_EQ(this->set_path(dir), 1);
  const char* kqk = "8/8/8/8/8/3k4/8/Q3K3 w - - 0 1";
  Answer a = this->search(kqk, "depth 4");
  EXPECT_TRUE(this->shows(a, Verdict::Win)) << a.score;
  EXPECT_GT(a.tbhits, 0);
  // An empty or a wrong path finds nothing, and the engine plays on without tables.
  for (const char* path : {"/nowhere", "<empty>", ""}) EXPECT_EQ(this->set_path(path), 0) << path;
  a = this->search(kqk, "depth 4");
  EXPECT_FALSE(this->shows(a, Verdict::Win)) << a.score;
  // veltrix's line has the field only while tables are open.
  EXPECT_EQ(a.tbhits, TypeParam::Rules == Dialect::Classic ? 0 : -1);
  std::filesystem::remove_all(dir);
}

// The answer keeps the tables' result: it is one of `only` when that is given,
// and none of `never`.
struct RootCase {
  const char* fen;
  Verdict verdict;
  std::vector<std::string> only, never;
};

TYPED_TEST(GuiSyzygy, TheRootMoveKeepsTheResultOfTheTables) {
  const std::vector<RootCase> cases = {
      {"8/8/8/8/8/3k4/8/Q3K3 w - - 0 1", Verdict::Win, {}, {"a1c3", "a1d4"}},
      // Only the quickest way to a mate keeps the win within the fifty-move rule.
      {"8/8/8/8/8/3k4/8/Q3K3 w - - 88 1", Verdict::Win, {"a1e5"}, {}},
      {"8/4k3/8/3R4/3K4/8/8/8 w - - 0 1", Verdict::Win, {}, {"d5d6", "d5d7", "d5d8"}},
      {"8/8/8/8/8/3P2K1/2k5/8 w - - 0 1", Verdict::Win, {"d3d4"}, {}},
      {"5k2/8/8/7K/8/4P3/8/8 w - - 0 1", Verdict::Win, {"h5g4", "h5g5", "h5g6"}, {}},
      {"8/8/8/8/8/3k4/8/q3K3 w - - 0 1", Verdict::Loss, {"e1f2"}, {}},
      {"8/5k2/8/8/8/7r/4R3/2K5 w - - 0 1", Verdict::Draw, {}, {"e2h2", "e2e3", "e2e6", "e2e7", "e2e8"}},
      {"4k3/8/7K/8/7P/8/8/8 b - - 0 1", Verdict::Draw, {"e8f7", "e8f8"}, {}},
      {"8/8/4k3/P7/6K1/8/8/8 b - - 0 1", Verdict::Draw, {"e6d5", "e6d6", "e6d7"}, {}},
  };
  ASSERT_EQ(this->set_path(SyzygyTables), 35);
  // The tables' verdict is a certain result, whatever the score looks like.
  this->set("UCI_ShowWDL", "true");
  const std::map<Verdict, std::string> certain = {
      {Verdict::Win, "1000 0 0"}, {Verdict::Draw, "0 1000 0"}, {Verdict::Loss, "0 0 1000"}};
  for (const RootCase& c : cases) {
    const Answer a = this->search(c.fen, "depth 6");
    EXPECT_EQ(a.wdl, certain.at(c.verdict)) << c.fen;
    if (!c.only.empty()) {
      EXPECT_NE(std::find(c.only.begin(), c.only.end(), a.move), c.only.end()) << c.fen << ": " << a.move;
    }
    EXPECT_EQ(std::find(c.never.begin(), c.never.end(), a.move), c.never.end()) << c.fen << ": " << a.move;
    EXPECT_TRUE(this->shows(a, c.verdict)) << c.fen << ": " << a.score;
    EXPECT_GT(a.tbhits, 0) << c.fen;
  }
  // Ten moves before the fifty-move rule ends the game the mate is out of reach:
  // a draw under the rule, a win without it.
  const char* cursed = "8/8/8/8/8/3k4/8/Q3K3 w - - 90 1";
  EXPECT_TRUE(this->shows(this->search(cursed, "depth 6"), Verdict::Draw));
  this->set("Syzygy50MoveRule", "false");
  EXPECT_TRUE(this->shows(this->search(cursed, "depth 6"), Verdict::Win));
}

TYPED_TEST(GuiSyzygy, TheSearchProbesPositionsReachedByCaptures) {
  // Six men: the root is beyond the tables, the captures bring the search into them.
  const char* fen = "8/8/4k3/3r4/8/3R1N2/8/4K3 w - - 0 1";
  ASSERT_EQ(this->set_path(SyzygyTables), 35);
  EXPECT_GT(this->search(fen, "depth 8").tbhits, 0);
  this->set("SyzygyProbeDepth", "100");
  EXPECT_EQ(this->search(fen, "depth 8").tbhits, 0);
  this->set("SyzygyProbeDepth", "1");
  this->set("SyzygyProbeLimit", "0");
  EXPECT_EQ(this->search(fen, "depth 8").tbhits, 0);
}

// Each program plays both sides at a fast clock from won positions of four men,
// each needing a long way to its conversion, and the stronger side mates without
// a draw by the fifty-move rule or by repetition on the way.
TYPED_TEST(GuiSyzygy, WonEndgamesEndInMate) {
  ASSERT_EQ(this->set_path(SyzygyTables), 35);
  for (const char* fen :
       {"8/8/3k4/8/4r3/8/8/Q5K1 w - - 0 1", "8/8/8/8/8/2K5/8/k2BN3 w - - 0 1", "8/8/8/4k3/8/6p1/8/R3K3 w - - 0 1"}) {
    this->g.engine.send("ucinewgame");
    Position pos = position_from(fen, TypeParam::Rules);
    std::string moves;
    for (int ply = 0; legal_moves(pos).count > 0; ply++) {
      ASSERT_FALSE(is_draw(pos)) << fen << " drawn after" << moves;
      ASSERT_LT(ply, 400) << fen << moves;
      const Answer a = this->search(fen, "movetime 40", pos, moves);
      const Move m = parse_move(pos, a.move.c_str(), TypeParam::Rules);
      ASSERT_NE(m, 0u) << fen << moves << ": " << a.move;
      make_move(pos, m, 1);
      moves += " " + a.move;
    }
    EXPECT_TRUE(in_check(pos)) << fen << " stalemate after" << moves;
    EXPECT_EQ(pos.SideToMove, Black) << fen << moves;
  }
}

// veltrix's lines take the tables' best moves first, then the next best.
class VeltrixSyzygy : public GuiSyzygy<VeltrixProgram> {};

TEST_F(VeltrixSyzygy, SeveralLinesFollowTheTablesRanks) {
  ASSERT_EQ(set_path(SyzygyTables), 35);
  set("MultiPV", "3");
  // Only the pawn's step wins; every other move draws.
  const std::string out = g.search("fen 8/8/8/8/8/3P2K1/2k5/8 w - - 0 1", "depth 8");
  std::vector<ReportedLine> lines = multipv_lines(out);
  ASSERT_GE(lines.size(), 3u) << out;
  lines.erase(lines.begin(), lines.end() - 3);
  EXPECT_EQ(lines[0].moves[0], "d3d4") << out;
  EXPECT_EQ(lines[0].score, VeltrixProgram::TableWin) << out;
  for (int i : {1, 2}) {
    EXPECT_EQ(lines[i].multipv, i + 1) << out;
    EXPECT_EQ(lines[i].score, 0) << "a draw:\n" << out;
  }
  EXPECT_NE(out.find("\nbestmove d3d4 "), std::string::npos) << out;
}

}  // namespace
