// The search with tablebases: when it probes, and the mate scores it reports
// from table values.
#include <gtest/gtest.h>

#include "search/score.h"
#include "search_support.h"
#include "tablebase_support.h"

using namespace classic;

namespace {

class TablebaseSearchTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    SKIP_WITHOUT_GAVIOTA_TABLES();
    savedStatus_ = Tablebases;
    SearchConfig.useTablebases = true;
    TablebaseConfig.path = GaviotaTables;
    TablebaseConfig.setupPending = true;  // the first search sets the tables up
  }
  void TearDown() override {
    Tablebases = savedStatus_;
    SearchTest::TearDown();
  }
  TablebaseStatus savedStatus_;
};

// The mate distance the table gives for the root position, in the search's scale.
int table_mate_score(const std::string& fen) {
  int score = 0;
  EXPECT_TRUE(probe_tables(position_from(fen), 1, score)) << fen;
  return score;
}

TEST_F(TablebaseSearchTest, KingAndQueenAgainstKingIsScoredAsTheTablesMate) {
  for (const char* fen : {"8/8/8/4k3/8/8/8/3QK3 w - - 0 1", "4k3/8/8/8/8/8/8/3QK3 b - - 0 1",
                          "8/8/2q5/8/3K4/8/8/7k w - - 0 1", "8/8/2q5/8/3K4/8/8/7k b - - 0 1"}) {
    SearchResult r = search_to_depth(fen, 6);
    EXPECT_TRUE(Tablebases.available);
    EXPECT_GT(Tablebases.hits, 0u) << fen;
    EXPECT_GT(std::abs(r.score), SCORE_MATE_RANGE) << fen;
    EXPECT_EQ(r.score, table_mate_score(fen)) << fen;
  }
}

// Set up with 3-man tables, a search pretending the largest held only two men
// never probes the 3-man positions it meets.
TEST_F(TablebaseSearchTest, NoProbesOfPositionsWithMoreMenThanTheLargestTable) {
  search_to_depth("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2);
  ASSERT_EQ(Tablebases.maxPieces, 3);
  EXPECT_GT(Tablebases.hits, 0u);
  Tablebases.maxPieces = 2;
  search_to_depth("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 6);
  EXPECT_EQ(Tablebases.hits, 0u);
}

}  // namespace
