// Iterative deepening: the iteration cap and the early exits at iteration 12.
#include "board/movetext.h"
#include "search/score.h"
#include "search_support.h"

using namespace classic;

namespace {

using Deepening = SearchTest;

TEST_F(Deepening, AtMostOneHundredIterations) {
  SearchResult r = search_to_depth("4k3/8/8/8/8/8/8/2B1K3 w - -", 200);
  EXPECT_EQ(Search.tbProbePlyLimit, 100);
  EXPECT_EQ(r.score, -1);
}

TEST_F(Deepening, ShortMateEndsTheSearchAtIterationTwelve) {
  SearchResult r = search_to_depth("6k1/5ppp/8/8/8/8/8/R5K1 w - -", 30);
  EXPECT_EQ(Search.tbProbePlyLimit, 12);
  EXPECT_EQ(r.score, SCORE_MATE - 2);
}

TEST_F(Deepening, OnlyRecaptureEndsTheSearchAtIterationTwelve) {
  // Black has just taken the queen on d4; only taking back keeps the balance.
  SearchResult r = search_to_depth("rnb1kbnr/pppp1ppp/8/8/3q4/2N5/PPP2PPP/R1BQKBNR w KQkq -", 30);
  EXPECT_EQ(move_text(r.best), "d1d4");
  EXPECT_EQ(Search.tbProbePlyLimit, 12);
}

}  // namespace
