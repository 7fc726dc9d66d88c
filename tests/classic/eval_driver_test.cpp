// The evaluation driver: tempo, draws, the blend, the lazy answer and the cache.
#include <string>

#include "eval_support.h"

using namespace classic;

namespace {

using DriverTest = EvalTest;

constexpr int Infinite = 32100;

int full_eval(const Position& pos) { return evaluate(pos, -Infinite, Infinite, 0); }

bool cached(const Position& pos, int* score = nullptr) {
  int s;
  bool hit = eval_cache_probe(pos.HashKey, pos.ThreadSlot, s);
  if (hit && score) *score = s;
  return hit;
}

// What the lazy answer is made of: the terms before the attack-based ones.
int cheap_terms(const Position& pos) {
  MaterialEntry m = probe_material(pos);
  PawnCacheEntry pawns = probe_pawns(pos);
  ScorePair sum = tempo_bonus(pos.SideToMove) + m.material + (pos.PsqScore[White] - pos.PsqScore[Black]) +
                  evaluate_patterns(pos) + pawns.pawnScore + evaluate_passed_pawns(pos, pawns);
  return blend_score(sum, m.phase, m.scaleDivisor, pos.SideToMove);
}

TEST_F(DriverTest, StartPositionIsWorthTheTempo) {
  EXPECT_EQ(full_eval(position_from(StartFen)), 20);
  EXPECT_EQ(full_eval(position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -")), 20);
}

TEST_F(DriverTest, DeadDrawsScoreZeroAndStayOutOfTheCache) {
  for (const char* fen : {"4k3/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/2B1K3 b - -", "4k3/8/8/8/8/8/8/4K1n1 w - -"}) {
    Position pos = position_from(fen);
    EXPECT_EQ(evaluate(pos, -Infinite, Infinite, 0), 0) << fen;
    EXPECT_FALSE(cached(pos)) << fen;
  }
}

TEST_F(DriverTest, BlendTruncatesTowardZero) {
  EXPECT_EQ(blend_score(pair(-7, 0), 50, 1, White), -3);
  EXPECT_EQ(blend_score(pair(-7, 0), 50, 1, Black), 3);
  EXPECT_EQ(blend_score(pair(100, 300), 25, 1, White), 150);
  EXPECT_EQ(blend_score(pair(-100, -100), 0, 8, White), -12);
  EXPECT_EQ(blend_score(pair(-100, -100), 0, 8, Black), 12);
  // Divisor 1 and anything outside 2..16 leave the value alone.
  EXPECT_EQ(blend_score(pair(-100, -100), 0, 0, White), -100);
}

TEST_F(DriverTest, LazyAnswerOnlyFarOutsideTheWindowAndNeverCached) {
  // White a queen up: the cheap terms alone are far above a narrow window.
  Position pos = position_from("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  int partial = cheap_terms(pos);
  ASSERT_GT(partial, 500);
  // Exactly 150 above beta is not enough; 151 is.
  EXPECT_EQ(evaluate(pos, partial - 200, partial - 151, 1), partial);
  EXPECT_FALSE(cached(pos));
  int full = evaluate(pos, partial - 200, partial - 150, 1);
  EXPECT_TRUE(cached(pos));
  clear_eval_caches();
  EXPECT_EQ(full, full_eval(pos));
  clear_eval_caches();
  // Below alpha the same way.
  EXPECT_EQ(evaluate(pos, partial + 151, partial + 200, 1), partial);
  EXPECT_FALSE(cached(pos));
  EXPECT_EQ(evaluate(pos, partial + 150, partial + 200, 1), full);
  // The main search's full evaluation after a lazy answer computes and stores.
  clear_eval_caches();
  evaluate(pos, partial + 151, partial + 200, 1);
  EXPECT_EQ(evaluate(pos, 0, 0, 0), full);
  int stored;
  EXPECT_TRUE(cached(pos, &stored));
  EXPECT_EQ(stored, full);
}

TEST_F(DriverTest, CacheHitIsTrustedEvenForLazyCalls) {
  Position pos = position_from(StartFen);
  eval_cache_store(pos.HashKey, pos.ThreadSlot, 123);
  EXPECT_EQ(evaluate(pos, 100, 200, 1), 123);
  EXPECT_EQ(evaluate(pos, -Infinite, Infinite, 0), 123);
  // Negative scores survive the 16-bit slot.
  eval_cache_store(pos.HashKey, pos.ThreadSlot, -4321);
  EXPECT_EQ(full_eval(pos), -4321);
  // Another thread slot is another slot.
  Position helper = pos;
  helper.ThreadSlot = 5;
  EXPECT_FALSE(cached(helper));
  EXPECT_EQ(full_eval(helper), 20);
  EXPECT_EQ(full_eval(pos), -4321);
}

TEST_F(DriverTest, KeyWithZeroUpperHalfIsNeverFound) {
  Position pos = position_from(StartFen);
  pos.HashKey &= 0xFFFFFFFFULL;
  eval_cache_store(pos.HashKey, pos.ThreadSlot, 123);
  EXPECT_FALSE(cached(pos));
  EXPECT_EQ(full_eval(pos), 20);
  EXPECT_FALSE(cached(pos));
}

TEST_F(DriverTest, FullEvaluationIsStoredAndMatchesTheUncachedOne) {
  Position pos = position_from("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ -");
  int first = full_eval(pos);
  int stored;
  ASSERT_TRUE(cached(pos, &stored));
  EXPECT_EQ(stored, first);
  EXPECT_EQ(evaluate_uncached(pos), first);
}

TEST_F(DriverTest, ReportEndsWithTheFullEvaluation) {
  for (const char* fen : {StartFen, "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R b KQ -",
                          "4k3/8/8/8/8/8/8/2B1K3 w - -", "7k/7p/P7/8/8/8/8/4K3 w - -"}) {
    Position pos = position_from(fen);
    int expected = full_eval(pos);
    // The report ignores the evaluation cache.
    eval_cache_store(pos.HashKey, pos.ThreadSlot, expected + 1000);
    testing::internal::CaptureStdout();
    print_eval_report(pos);
    std::string out = testing::internal::GetCapturedStdout();
    std::string last = "eval: " + std::to_string(expected) + "\n";
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(out.substr(out.size() - last.size()), last) << fen;
    EXPECT_EQ(out.find("eval: "), out.size() - last.size()) << "exactly one eval line";
    EXPECT_NE(out.find("king safety"), std::string::npos);
    EXPECT_NE(out.find("phase"), std::string::npos);
  }
}

}  // namespace
