// The transposition table: sizing, replacement, the kept move, hashfull, ages,
// mate scores and allocation failure.
#include <sys/resource.h>

#include "search/score.h"
#include "search_support.h"

namespace {

class TranspositionTableTest : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    ASSERT_NE(tt_resize(1), ResizeResult::Failed);
    tt_clear();
    tt_new_search();
  }
};

// Keys that share the bucket starting at `index` and differ in their upper half.
Key bucket_key(uint32_t index, uint32_t upper) { return Key(upper) << 32 | index; }

TTEntry probe(Key key) {
  TTEntry e;
  EXPECT_TRUE(tt_probe(key, e));
  return e;
}

TEST_F(TranspositionTableTest, EntryCountIsLargestPowerOfTwoThatFits) {
  EXPECT_EQ(TT.entryCount, 65536u);
  ASSERT_EQ(tt_resize(3), ResizeResult::Resized);
  EXPECT_EQ(TT.entryCount, 131072u);
  EXPECT_EQ(TT.indexMask, 131071u);
  ASSERT_EQ(tt_resize(0), ResizeResult::Resized);
  EXPECT_EQ(TT.hashMegabytes, 1);
  EXPECT_EQ(TT.entryCount, 65536u);
}

TEST_F(TranspositionTableTest, SameSizeKeepsTableAndContents) {
  Key key = bucket_key(77, 0xABCDEF);
  tt_store(key, BOUND_EXACT, 42, 1234, 5);
  const TTSlot* before = TT.entries;
  EXPECT_EQ(tt_resize(1), ResizeResult::Unchanged);
  EXPECT_EQ(TT.entries, before);
  EXPECT_EQ(probe(key).score, 42);
}

TEST_F(TranspositionTableTest, EmptyTableHasNoHitAndAZeroCopy) {
  TTEntry e;
  e.move = 99;
  EXPECT_FALSE(tt_probe(bucket_key(5, 1), e));
  EXPECT_EQ(e.move, 0u);
  EXPECT_EQ(e.key32, 0u);
}

TEST_F(TranspositionTableTest, CurrentEntriesLoseTheShallowestFirstAndTiesTheEarliest) {
  const int depths[4] = {5, 3, 7, 3};
  for (int i = 0; i < 4; i++) tt_store(bucket_key(100, 10 + i), BOUND_LOWER, 0, 0, depths[i]);
  tt_store(bucket_key(100, 99), BOUND_LOWER, 0, 0, 9);
  TTEntry e;
  EXPECT_FALSE(tt_probe(bucket_key(100, 11), e)) << "the first of the two depth-3 entries goes";
  EXPECT_TRUE(tt_probe(bucket_key(100, 13), e));
  EXPECT_TRUE(tt_probe(bucket_key(100, 99), e));

  // All equal: the first entry of the bucket is the victim.
  for (int i = 0; i < 4; i++) tt_store(bucket_key(200, 10 + i), BOUND_LOWER, 0, 0, 4);
  tt_store(bucket_key(200, 99), BOUND_LOWER, 0, 0, 1);
  EXPECT_FALSE(tt_probe(bucket_key(200, 10), e));
  EXPECT_TRUE(tt_probe(bucket_key(200, 11), e));
}

TEST_F(TranspositionTableTest, OlderSearchesAreReplacedBeforeDeepCurrentOnes) {
  tt_store(bucket_key(300, 10), BOUND_LOWER, 0, 0, 20);
  tt_store(bucket_key(300, 11), BOUND_LOWER, 0, 0, 30);
  tt_new_search();
  tt_store(bucket_key(300, 12), BOUND_LOWER, 0, 0, 1);
  tt_store(bucket_key(300, 13), BOUND_LOWER, 0, 0, 2);
  tt_store(bucket_key(300, 99), BOUND_LOWER, 0, 0, 5);
  TTEntry e;
  EXPECT_FALSE(tt_probe(bucket_key(300, 10), e)) << "the shallower of the old entries";
  EXPECT_TRUE(tt_probe(bucket_key(300, 11), e));
  EXPECT_TRUE(tt_probe(bucket_key(300, 12), e));
  EXPECT_EQ(probe(bucket_key(300, 99)).age, hash_age());
}

TEST_F(TranspositionTableTest, StoreWithoutMoveKeepsTheMoveAndReplacesTheRest) {
  Key key = bucket_key(400, 0x1234);
  tt_store(key, BOUND_LOWER, 10, 0xBEEF, 5);
  tt_new_search();
  tt_store(key, BOUND_UPPER, -20, 0, 7);
  TTEntry e = probe(key);
  EXPECT_EQ(e.move, 0xBEEFu);
  EXPECT_EQ(e.score, -20);
  EXPECT_EQ(e.depth, 7);
  EXPECT_EQ(e.bound, BOUND_UPPER);
  EXPECT_EQ(e.age, hash_age());
  tt_store(key, BOUND_EXACT, 1, 0xCAFE, -1);
  EXPECT_EQ(probe(key).move, 0xCAFEu);
}

TEST_F(TranspositionTableTest, HashfullCountsEveryStoreOfThisSearch) {
  EXPECT_EQ(tt_hashfull(), 0);
  for (uint32_t i = 0; i < TT.entryCount / 2; i++) tt_store(bucket_key(7, i + 1), BOUND_LOWER, 0, 0, 1);
  EXPECT_EQ(tt_hashfull(), 500);
  for (uint32_t i = 0; i < TT.entryCount; i++) tt_store(bucket_key(7, i + 1), BOUND_LOWER, 0, 0, 1);
  EXPECT_EQ(tt_hashfull(), 1000);
  tt_new_search();
  EXPECT_EQ(tt_hashfull(), 0);
}

TEST_F(TranspositionTableTest, AgeWrapsAfter256Searches) {
  uint8_t age = hash_age();
  for (int i = 0; i < 256; i++) tt_new_search();
  EXPECT_EQ(hash_age(), age);
  // A FEN resets the age.
  position_from(StartFen);
  EXPECT_EQ(hash_age(), 0);
}

TEST_F(TranspositionTableTest, ScoresRoundTripAtTheSamePly) {
  const int scores[] = {SCORE_MATE - 5, -(SCORE_MATE - 8), 31001, -31001, 31000, -250, SCORE_NONE};
  for (int ply : {1, 7, 40}) {
    for (int s : scores) {
      Key key = bucket_key(500 + ply, uint32_t(s + 100000));
      tt_store(key, BOUND_EXACT, score_to_table(s, ply), 0, 3);
      EXPECT_EQ(score_from_table(probe(key).score, ply), s) << s << " at ply " << ply;
    }
  }
  // The distance to mate is kept from the stored position: mate two plies after a
  // position found at ply 8 is still mate two plies after it when met at ply 4.
  EXPECT_EQ(score_from_table(score_to_table(SCORE_MATE - 10, 8), 4), SCORE_MATE - 6);
  EXPECT_EQ(score_from_table(score_to_table(-(SCORE_MATE - 10), 8), 12), -(SCORE_MATE - 14));
  EXPECT_EQ(score_from_table(score_to_table(-(SCORE_MATE - 2), 2), 1), -SCORE_MATE + 1);
}

// Runs in a child process whose address space is too small for the request.
void resize_beyond_memory(Key key) {
  rlimit limit;
  limit.rlim_cur = limit.rlim_max = rlim_t(3) << 30;
  setrlimit(RLIMIT_AS, &limit);
  ResizeResult r = tt_resize(TTMaxMegabytes);
  TTEntry e;
  bool intact = TT.hashMegabytes == 1 && TT.entryCount == 65536 && tt_probe(key, e) && e.score == 123;
  exit(r == ResizeResult::Failed && intact ? 0 : 1);
}

TEST_F(TranspositionTableTest, FailedAllocationKeepsThePreviousTable) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#endif
  Key key = bucket_key(900, 0x5555);
  tt_store(key, BOUND_EXACT, 123, 456, 9);
  EXPECT_EXIT(resize_beyond_memory(key), ::testing::ExitedWithCode(0), "");
}

}  // namespace
