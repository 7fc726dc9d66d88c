// The transposition table of both engines, under each engine's layout: sizes,
// empty entries, the replacement rule, the kept move, the fill figure, the search
// age with its wrap and its restart, and allocation failure obey the same rules;
// what differs is stated by the layout.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "engine/hash_table.h"
#include "engine/score.h"
#include "search/tt.h"
#include "support/board_setup.h"
#include "veltrix/hash_table.h"

namespace {

template <const TableLayout& L>
struct Layout {
  static constexpr const TableLayout& layout = L;
};
using Layouts = ::testing::Types<Layout<classic::ClassicTableLayout>, Layout<veltrix::VeltrixTableLayout>>;

template <typename T>
class HashTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(table.resize(1), ResizeResult::Failed);
    table.new_search();
  }
  void TearDown() override { table.release(); }

  // Keys of one bucket: the same low half, different upper halves.
  static Key bucket_key(uint32_t index, uint32_t upper) { return Key(upper) << 32 | index; }
  HashEntry probe(Key key) {
    HashEntry e;
    EXPECT_TRUE(table.probe(key, e));
    return e;
  }
  bool holds(Key key) {
    HashEntry e;
    return table.probe(key, e);
  }
  void store(Key key, int depth, Move move = 0) { table.store(key, BOUND_LOWER, 0, move, depth, 0); }

  TranspositionTable table{T::layout};
};
TYPED_TEST_SUITE(HashTableTest, Layouts);

TEST(HashTableSizes, LargestPowerOfTwoThatFits) {
  const TableLayout& c = classic::ClassicTableLayout;
  const TableLayout& v = veltrix::VeltrixTableLayout;
  EXPECT_EQ(table_index_count(c, 1), 65536u);  // 16-byte entries, a bucket at each
  EXPECT_EQ(table_index_count(c, 3), 131072u);
  EXPECT_EQ(table_index_count(c, 100), 1u << 22);
  EXPECT_EQ(table_index_count(v, 1), 16384u);  // 64-byte clusters
  EXPECT_EQ(table_index_count(v, 3), 32768u);
  EXPECT_EQ(table_index_count(v, 256), 4194304u);
}

TYPED_TEST(HashTableTest, ResizeClampsAndTheSameSizeKeepsTheContents) {
  TranspositionTable& t = this->table;
  const Key key = this->bucket_key(77, 0xABCDEF);
  t.store(key, BOUND_EXACT, 42, 1234, 5, 0);
  const HashSlot* before = t.slots;
  EXPECT_EQ(t.resize(1), ResizeResult::Unchanged);
  EXPECT_EQ(t.slots, before);
  EXPECT_EQ(this->probe(key).score, 42);
  ASSERT_EQ(t.resize(3), ResizeResult::Resized);
  EXPECT_EQ(t.indexCount, table_index_count(t.layout, 3));
  EXPECT_EQ(t.indexMask, t.indexCount - 1);
  ASSERT_EQ(t.resize(0), ResizeResult::Resized);
  EXPECT_EQ(t.megabytes, 1);
}

TYPED_TEST(HashTableTest, EmptyEntriesNeverHit) {
  HashEntry e;
  e.move = 99;
  EXPECT_FALSE(this->table.probe(this->bucket_key(5, 1), e));
  EXPECT_EQ(e.move, 0u);
  EXPECT_EQ(e.key32, 0u);
  EXPECT_EQ(e.score, this->table.layout.noScore);
  EXPECT_EQ(e.staticEval, this->table.layout.noScore);
  EXPECT_EQ(e.depth, this->table.layout.emptyDepth);
  // A key whose upper half is 0 looks like an empty slot: it never hits either.
  this->table.store(this->bucket_key(5, 0), BOUND_EXACT, 5, 0x123, 4, 6);
  EXPECT_FALSE(this->table.probe(this->bucket_key(5, 0), e));
}

TYPED_TEST(HashTableTest, StoreKeepsEveryFieldAndAStoreWithoutMoveKeepsTheMove) {
  const Key key = this->bucket_key(400, 0x1234);
  this->table.store(key, BOUND_LOWER, -31990, 0xBEEF, 12, -250);
  HashEntry e = this->probe(key);
  EXPECT_EQ(e.bound, BOUND_LOWER);
  EXPECT_EQ(e.score, -31990);
  EXPECT_EQ(e.move, 0xBEEFu);
  EXPECT_EQ(e.depth, 12);
  EXPECT_EQ(e.staticEval, -250);
  EXPECT_EQ(e.age, 1);
  this->table.new_search();
  this->table.store(key, BOUND_UPPER, -20, 0, 7, 41);
  e = this->probe(key);
  EXPECT_EQ(e.move, 0xBEEFu);
  EXPECT_EQ(e.score, -20);
  EXPECT_EQ(e.depth, 7);
  EXPECT_EQ(e.bound, BOUND_UPPER);
  EXPECT_EQ(e.age, this->table.age());
  this->table.store(key, BOUND_EXACT, 1, 0xCAFE, -1, 0);
  EXPECT_EQ(this->probe(key).move, 0xCAFEu);
}

TYPED_TEST(HashTableTest, CurrentEntriesLoseTheShallowestFirstAndTiesTheEarliest) {
  const int depths[4] = {5, 3, 7, 3};
  for (uint32_t i = 0; i < 4; i++) this->store(this->bucket_key(100, 10 + i), depths[i]);
  this->store(this->bucket_key(100, 99), 9);
  EXPECT_FALSE(this->holds(this->bucket_key(100, 11))) << "the first of the two depth-3 entries goes";
  EXPECT_TRUE(this->holds(this->bucket_key(100, 13)));
  EXPECT_TRUE(this->holds(this->bucket_key(100, 99)));
  // All equal: the first entry of the bucket is the victim.
  for (uint32_t i = 0; i < 4; i++) this->store(this->bucket_key(200, 10 + i), 4);
  this->store(this->bucket_key(200, 99), 1);
  EXPECT_FALSE(this->holds(this->bucket_key(200, 10)));
  EXPECT_TRUE(this->holds(this->bucket_key(200, 11)));
}

TYPED_TEST(HashTableTest, OlderSearchesAreReplacedFirstThenTheShallowest) {
  const int depths[4] = {5, 2, 7, 2};
  for (uint32_t i = 0; i < 4; i++) this->store(this->bucket_key(300, i + 1), depths[i]);
  this->table.new_search();
  // New stores take the old entries, shallowest first (the earlier of equal depths).
  this->store(this->bucket_key(300, 10), 1);
  EXPECT_FALSE(this->holds(this->bucket_key(300, 2)));
  EXPECT_TRUE(this->holds(this->bucket_key(300, 4)));
  this->store(this->bucket_key(300, 11), 20);
  EXPECT_FALSE(this->holds(this->bucket_key(300, 4)));
  this->store(this->bucket_key(300, 12), 20);
  EXPECT_FALSE(this->holds(this->bucket_key(300, 1)));
  // The last old entry goes before any current one, however deep it is.
  this->store(this->bucket_key(300, 13), 30);
  EXPECT_FALSE(this->holds(this->bucket_key(300, 3)));
  // Only current entries are left: the shallowest of them goes.
  this->store(this->bucket_key(300, 14), 30);
  EXPECT_FALSE(this->holds(this->bucket_key(300, 10)));
  for (uint32_t k : {11u, 12u, 13u, 14u}) EXPECT_TRUE(this->holds(this->bucket_key(300, k))) << k;
}

TYPED_TEST(HashTableTest, HashfullCountsEveryStoreOfThisSearch) {
  TranspositionTable& t = this->table;
  EXPECT_EQ(t.hashfull(), 0);
  for (uint32_t i = 0; i < t.indexCount / 100; i++) this->store(this->bucket_key(7, i + 1), 1);
  EXPECT_EQ(t.hashfull(), 9);  // just under 1%, truncated
  for (uint32_t i = 0; i < t.indexCount / 2; i++) this->store(this->bucket_key(8, i + 1), 1);
  EXPECT_GE(t.hashfull(), 500);
  for (uint32_t i = 0; i < t.indexCount; i++) this->store(this->bucket_key(9, i + 1), 1);
  EXPECT_EQ(t.hashfull(), 1000);
  t.new_search();
  EXPECT_EQ(t.hashfull(), 0);
}

TYPED_TEST(HashTableTest, TheAgeWrapsAtTheLayoutsWidthPastTheAgeOfEmptyEntries) {
  TranspositionTable& t = this->table;
  const int width = t.layout.ageMask;
  int searches = 0;
  while (t.age() != 0 && searches <= width) {
    t.new_search();
    searches++;
  }
  EXPECT_GT(searches, width) << "a search took the age that empty entries carry";
  EXPECT_EQ(t.age(), 2);  // the widest age, then 1, then 2
  // Emptied, the table counts its searches from the start again.
  this->store(this->bucket_key(3, 7), 4);
  t.clear();
  EXPECT_EQ(t.age(), 0);
  EXPECT_FALSE(this->holds(this->bucket_key(3, 7)));
  t.new_search();
  EXPECT_EQ(t.age(), 1);
}

// Runs in a child process whose address space is too small for the request.
void resize_beyond_memory(TranspositionTable& table, Key key) {
  rlimit limit;
  limit.rlim_cur = limit.rlim_max = rlim_t(3) << 30;
  setrlimit(RLIMIT_AS, &limit);
  ResizeResult r = table.resize(table.layout.maxMegabytes);
  HashEntry e;
  bool intact = table.megabytes == 1 && table.probe(key, e) && e.score == 123;
  exit(r == ResizeResult::Failed && intact ? 0 : 1);
}

TYPED_TEST(HashTableTest, FailedAllocationKeepsThePreviousTable) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#endif
  const Key key = this->bucket_key(900, 0x5555);
  this->table.store(key, BOUND_EXACT, 123, 456, 9, 0);
  EXPECT_EXIT(resize_beyond_memory(this->table, key), ::testing::ExitedWithCode(0), "");
}

TEST(MateScores, CountFromThePositionInTheTable) {
  const int scores[] = {
      SCORE_MATE - 5,      -(SCORE_MATE - 8),  31001, -31001, 31000, -250, tb_win_at(12), -tb_win_at(3),
      classic::SCORE_NONE, veltrix::SCORE_NONE};
  for (int ply : {1, 7, 40})
    for (int s : scores) EXPECT_EQ(score_from_table(score_to_table(s, ply), ply), s) << s << " at ply " << ply;
  // A mate found at ply 5 is stored as the plies that remain from that position,
  // and read back through a longer path as a longer mate.
  const int stored = score_to_table(SCORE_MATE - 9, 5);
  EXPECT_EQ(stored, SCORE_MATE - 4);
  EXPECT_EQ(score_from_table(stored, 7), SCORE_MATE - 11);
  EXPECT_EQ(score_from_table(score_to_table(mated_in(8), 3), 1), mated_in(6));
  EXPECT_EQ(score_from_table(score_to_table(-(SCORE_MATE - 2), 2), 1), -SCORE_MATE + 1);
  // So is a win of the endgame tables.
  EXPECT_EQ(score_from_table(score_to_table(tb_win_at(9), 5), 2), tb_win_at(6));
  EXPECT_EQ(score_from_table(score_to_table(-tb_win_at(9), 5), 2), -tb_win_at(6));
}

}  // namespace
