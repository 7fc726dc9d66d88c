// The engine side of the tablebases: set-up and its messages, the score of a
// table value at any ply, and probes of real positions.
#include <cstdio>
#include <random>

#include <gtest/gtest.h>

#include "board/movegen.h"
#include "search/score.h"
#include "search/search_state.h"
#include "tablebase_support.h"

using namespace classic;

namespace {

class TablebaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    savedStatus_ = Tablebases;
    savedRootSide_ = Search.rootSide;
    FrontEnd.uciMode = false;
    Search.rootSide = White;
  }
  void TearDown() override {
    Tablebases = savedStatus_;
    Search.rootSide = savedRootSide_;
  }

  // The output of a set-up in UCI mode.
  std::string init_output(const std::string& pathList) {
    FrontEnd.uciMode = true;
    TablebaseConfig.path = pathList;
    testing::internal::CaptureStdout();
    set_up_tablebases();
    fflush(stdout);
    FrontEnd.uciMode = false;
    return testing::internal::GetCapturedStdout();
  }

  ClassicConfigGuard configGuard_;
  TablebaseStatus savedStatus_;
  int savedRootSide_;
};

TEST(TablebaseScore, ValuesBecomeMateScoresCountedFromTheRoot) {
  // The loss and win of the worked examples: a loss whose loser stands mated at his
  // 2nd turn, probed at ply 2, and a win with the 2nd move, probed at ply 3.
  EXPECT_EQ(tablebase_score(-32765, 2, false), -31996);
  EXPECT_EQ(tablebase_score(32765, 3, true), 31994);
  // Deeper in the tree the same positions are further from the root.
  EXPECT_EQ(tablebase_score(32765, 7, true), 31990);
  EXPECT_EQ(tablebase_score(-32765, 6, false), -31992);
  // Our 3rd move mates at ply 5 + 4 = 9: the opponent is mated at ply 10.
  EXPECT_EQ(tablebase_score(32767 - 3, 5, true), SCORE_MATE - 10);
  EXPECT_EQ(tablebase_score(-(32767 - 3), 4, false), mated_in(8));
}

TEST(TablebaseScore, DrawsCountSlightlyAgainstTheRootSide) {
  EXPECT_EQ(tablebase_score(0, 3, true), -1);
  EXPECT_EQ(tablebase_score(0, 2, false), 1);
}

TEST_F(TablebaseTest, SetUpReportsTheLargestTable) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  EXPECT_EQ(init_output(GaviotaTables),
            "info string egtb init...\ninfo string egtb 3 man loaded, Everything was OK.\n\n");
  EXPECT_TRUE(Tablebases.available);
  EXPECT_EQ(Tablebases.maxPieces, 3);
  // Directories separated by "," or ";", empty and missing ones passed over.
  EXPECT_TRUE(load_tables(";/nowhere,," + GaviotaTables + ";"));
  EXPECT_EQ(Tablebases.maxPieces, 3);
  // Outside UCI mode the set-up is silent.
  testing::internal::CaptureStdout();
  EXPECT_TRUE(load_tables(GaviotaTables));
  fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(TablebaseTest, NoTablesMeansNoProbing) {
  const char* failure = "info string egtb init...\ninfo string error load egtbs: Could not find table bases\n";
  for (const char* path : {"", "/nowhere", ";,", "E:\\schach\\EGTB", "/usr/share"}) {
    EXPECT_EQ(init_output(path), failure) << path;
    EXPECT_FALSE(Tablebases.available) << path;
    EXPECT_EQ(Tablebases.maxPieces, 0) << path;
  }
}

TEST_F(TablebaseTest, ProbesCountHitsAndRefuseWhatTheTablesCannotAnswer) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  ASSERT_TRUE(load_tables(GaviotaTables));
  Tablebases.hits = 0;
  int score = 12345;
  // White Ke1 Qd1 against Ke8: our 8th move mates, the opponent is mated at ply 3 + 15.
  EXPECT_TRUE(probe_tables(position_from("4k3/8/8/8/8/8/8/3QK3 w - - 0 1"), 3, score));
  EXPECT_EQ(score, SCORE_MATE - 18);
  EXPECT_EQ(Tablebases.hits, 1u);
  // The same with the colours exchanged: Black wins, Black is the root side.
  Search.rootSide = Black;
  EXPECT_TRUE(probe_tables(position_from("3qk3/8/8/8/8/8/8/4K3 b - - 0 1"), 3, score));
  EXPECT_EQ(score, SCORE_MATE - 18);
  EXPECT_TRUE(probe_tables(position_from("3qk3/8/8/8/8/8/8/4K3 w - - 0 1"), 2, score));
  EXPECT_EQ(score, mated_in(2 + 16));
  EXPECT_EQ(Tablebases.hits, 3u);
  // A draw by the table: the king takes the rook.
  EXPECT_TRUE(probe_tables(position_from("4k3/4R3/8/8/8/8/8/K7 b - - 0 1"), 2, score));
  EXPECT_EQ(score, -1);

  const uint64_t hits = Tablebases.hits;
  // Mated already, and mate in one: left to the search.
  EXPECT_FALSE(probe_tables(position_from("k7/1Q6/1K6/8/8/8/8/8 b - - 0 1"), 2, score));
  EXPECT_FALSE(probe_tables(position_from("k7/8/1K6/8/8/8/7Q/8 w - - 0 1"), 3, score));
  // No table for the material, or a right to castle the tables know nothing of.
  EXPECT_FALSE(probe_tables(position_from("4k3/8/8/8/8/8/8/R3K2R w - - 0 1"), 2, score));
  EXPECT_FALSE(probe_tables(position_from("4k3/8/8/8/8/8/8/4K2R w K - 0 1"), 2, score));
  EXPECT_EQ(Tablebases.hits, hits);
  EXPECT_TRUE(probe_tables(position_from("4k3/8/8/8/8/8/8/4K2R w - - 0 1"), 2, score));
}

// The score of a position at a ply, for checking probes against their children:
// the probe where it answers, otherwise mate, stalemate or a bare-king draw.
int exact_score(Position& pos, int ply) {
  int score;
  if (probe_tables(pos, ply, score)) return score;
  const int drawScore = pos.SideToMove == Search.rootSide ? -1 : 1;
  if (insufficient_material(pos)) return drawScore;
  MoveList moves;
  generate_legal(pos, moves);
  // To the table a stalemate is a draw like any other.
  if (moves.count == 0) return in_check(pos) ? mated_in(ply) : drawScore;
  // Mate in one, which the probe leaves to the search.
  int best = -SCORE_INFINITE;
  for (int i = 1; i <= moves.count; ++i) {
    Move m = moves.moves[i].move;
    make_move(pos, m, ply);
    MoveList replies;
    generate_legal(pos, replies);
    if (replies.count == 0 && in_check(pos)) best = SCORE_MATE - (ply + 1);
    unmake_move(pos, m, ply);
  }
  EXPECT_NE(best, -SCORE_INFINITE) << "neither probed nor mate in one";
  return best;
}

// The scores must fit the search's own mate scores at every ply: a position is
// worth the best of its moves, each child scored one ply deeper, whichever side
// wins. Random positions of every 3-man table, probed at plies 2 to 5.
TEST_F(TablebaseTest, ScoresAgreeWithTheBestMoveOneplyDeeperAtEveryPly) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  ASSERT_TRUE(load_tables(GaviotaTables));
  std::mt19937 rng(20170101);
  int checked = 0;
  for (int code : {WhitePawn, WhiteKnight, WhiteBishop, WhiteRook, WhiteQueen, BlackPawn, BlackRook, BlackQueen})
    for (int i = 0; i < 40; ++i) {
      Position pos = random_three_men(rng, code, i % 2 ? White : Black);
      const int ply = 2 + i % 4;
      int score;
      if (!probe_tables(pos, ply, score)) continue;
      MoveList moves;
      generate_legal(pos, moves);
      int best = -SCORE_INFINITE;
      for (int j = 1; j <= moves.count; ++j) {
        Move m = moves.moves[j].move;
        make_move(pos, m, ply);
        best = std::max(best, -exact_score(pos, ply + 1));
        unmake_move(pos, m, ply);
      }
      EXPECT_EQ(score, best) << "code " << code << " ply " << ply << " key " << pos.HashKey;
      ++checked;
    }
  EXPECT_GT(checked, 200);
}

}  // namespace
