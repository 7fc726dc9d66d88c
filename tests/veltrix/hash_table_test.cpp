// veltrix's transposition table: sizes, cleared entries, replacement by
// generation and depth, the fill figure, and mate scores stored relative to the
// position.
#include <gtest/gtest.h>

#include "veltrix/score.h"
#include "veltrix_support.h"

namespace {

// Keys of one cluster: the same low 32 bits, different upper halves.
Key cluster_key(uint32_t upper) { return Key(upper) << 32 | 0x1234; }

struct TableTest : ::testing::Test {
  void SetUp() override {
    ensure_veltrix();
    table_clear();
    TableAge = 1;
  }
};

TEST_F(TableTest, SizesArePowersOfTwoClusters) {
  EXPECT_EQ(clusters_for(256), 4194304u);
  EXPECT_EQ(clusters_for(1), 16384u);
  EXPECT_EQ(clusters_for(3), 32768u);
  EXPECT_EQ(clamp_hash_megabytes(0), 1);
  EXPECT_EQ(clamp_hash_megabytes(100000), 32768);
  EXPECT_EQ(clamp_hash_megabytes(64), 64);
}

TEST_F(TableTest, ClearedEntriesNeverHit) {
  HashEntry e;
  EXPECT_FALSE(table_probe(cluster_key(7), e));
  EXPECT_EQ(e.move, 0u);
  EXPECT_EQ(e.score, ScoreNone);
  EXPECT_EQ(e.staticEval, ScoreNone);
  EXPECT_EQ(e.depth, -100);
  // A key whose upper half is 0 looks like an empty slot: it never hits either.
  table_store(cluster_key(0), BoundExact, 5, 0x123, 4, 6);
  EXPECT_FALSE(table_probe(cluster_key(0), e));
}

TEST_F(TableTest, StoreAndProbeKeepEveryField) {
  table_store(cluster_key(9), BoundLower, -31990, 0xABCDE, 12, -250);
  HashEntry e;
  ASSERT_TRUE(table_probe(cluster_key(9), e));
  EXPECT_EQ(e.bound, BoundLower);
  EXPECT_EQ(e.score, -31990);
  EXPECT_EQ(e.move, 0xABCDEu);
  EXPECT_EQ(e.depth, 12);
  EXPECT_EQ(e.staticEval, -250);
  EXPECT_EQ(e.generation, 1);
  // Storing the same position without a move keeps the move it had.
  table_store(cluster_key(9), BoundUpper, 40, 0, 3, 41);
  ASSERT_TRUE(table_probe(cluster_key(9), e));
  EXPECT_EQ(e.move, 0xABCDEu);
  EXPECT_EQ(e.depth, 3);
  EXPECT_EQ(e.score, 40);
}

TEST_F(TableTest, ReplacesOlderGenerationsFirstThenTheShallowest) {
  // A full cluster of the previous search, depths 5, 2, 7, 2.
  TableAge = 1;
  int depths[4] = {5, 2, 7, 2};
  for (uint32_t i = 0; i < 4; i++) table_store(cluster_key(i + 1), BoundExact, 0, 1, depths[i], 0);
  table_new_search();
  EXPECT_EQ(table_generation(), 2);
  HashEntry e;
  // New stores take the old entries, shallowest first (the earlier of equal depths).
  table_store(cluster_key(10), BoundExact, 0, 1, 1, 0);
  EXPECT_FALSE(table_probe(cluster_key(2), e));
  EXPECT_TRUE(table_probe(cluster_key(4), e));
  table_store(cluster_key(11), BoundExact, 0, 1, 20, 0);
  EXPECT_FALSE(table_probe(cluster_key(4), e));
  table_store(cluster_key(12), BoundExact, 0, 1, 20, 0);
  EXPECT_FALSE(table_probe(cluster_key(1), e));
  // The last old entry goes before any current one, however deep it is.
  table_store(cluster_key(13), BoundExact, 0, 1, 30, 0);
  EXPECT_FALSE(table_probe(cluster_key(3), e));
  // Only current entries are left: the shallowest of them goes.
  table_store(cluster_key(14), BoundExact, 0, 1, 30, 0);
  EXPECT_FALSE(table_probe(cluster_key(10), e));
  for (uint32_t k : {11u, 12u, 13u, 14u}) EXPECT_TRUE(table_probe(cluster_key(k), e)) << k;
}

TEST_F(TableTest, HashfullCountsStoresOfThisSearch) {
  table_new_search();
  EXPECT_EQ(table_hashfull(), 0);
  uint32_t n = Table.clusterCount / 100;
  for (uint32_t i = 0; i < n; i++) table_store(Key(i + 1) << 32 | i, BoundExact, 0, 0, 1, 0);
  EXPECT_EQ(table_hashfull(), 9);  // just under 1% of the clusters, truncated
  table_new_search();
  EXPECT_EQ(table_hashfull(), 0);
}

TEST(MateScores, CountFromThePositionInTheTable) {
  // A mate found at ply 5 is stored as the plies that remain from that position,
  // and read back through a longer path as a longer mate.
  int score = ScoreMate - 9;  // the mating side mates at ply 9
  int stored = score_to_table(score, 5);
  EXPECT_EQ(stored, ScoreMate - 4);
  EXPECT_EQ(score_from_table(stored, 7), ScoreMate - 11);
  EXPECT_EQ(score_from_table(score_to_table(mated_in(8), 3), 3), mated_in(8));
  EXPECT_EQ(score_from_table(score_to_table(mated_in(8), 3), 1), mated_in(6));
  EXPECT_EQ(score_from_table(ScoreNone, 9), ScoreNone);
  EXPECT_EQ(score_to_table(123, 9), 123);
}

}  // namespace
