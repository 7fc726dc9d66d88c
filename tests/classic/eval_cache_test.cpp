// Sizes, re-sizing, clearing and the unlocked sharing of the three caches.
#include <sys/resource.h>

#include <unistd.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "eval_support.h"

using namespace classic;

namespace {

using CacheTest = EvalTest;

constexpr Key SomeKey = 0x9D39247E33776D41ULL;

TEST_F(CacheTest, DefaultSizes) {
  EXPECT_EQ(eval_cache_size().megabytes, 64);
  EXPECT_EQ(eval_cache_size().entryCount, 1u << 23);
  EXPECT_EQ(pawn_cache_size().megabytes, 32);
  EXPECT_EQ(pawn_cache_size().entryCount, 1u << 20);
  EXPECT_EQ(material_cache_size().megabytes, 16);
  EXPECT_EQ(material_cache_size().entryCount, 1u << 20);
}

TEST_F(CacheTest, EntryCountIsTheLargestPowerOfTwoThatFits) {
  ASSERT_TRUE(eval_cache_resize(1));
  EXPECT_EQ(eval_cache_size().entryCount, 131072u);
  ASSERT_TRUE(pawn_cache_resize(1));
  EXPECT_EQ(pawn_cache_size().entryCount, 32768u);  // 52428 entries of 20 bytes fit
  ASSERT_TRUE(pawn_cache_resize(3));
  EXPECT_EQ(pawn_cache_size().entryCount, 131072u);  // 157286 fit
  ASSERT_TRUE(material_cache_resize(1));
  EXPECT_EQ(material_cache_size().entryCount, 65536u);  // 87381 entries of 12 bytes fit
}

TEST_F(CacheTest, SizesAreClamped) {
  EXPECT_TRUE(eval_cache_resize(0));
  EXPECT_EQ(eval_cache_size().megabytes, 1);
  EXPECT_FALSE(eval_cache_resize(-5));  // also 1: unchanged
  EXPECT_TRUE(eval_cache_resize(1000));
  EXPECT_EQ(eval_cache_size().megabytes, 64);
  EXPECT_FALSE(pawn_cache_resize(33));
  EXPECT_EQ(pawn_cache_size().megabytes, 32);
  EXPECT_FALSE(material_cache_resize(17));
  EXPECT_EQ(material_cache_size().megabytes, 16);
  EXPECT_FALSE(cache_resize_failed());
}

TEST_F(CacheTest, SameSizeKeepsTheEntriesNewSizeEmptiesThem) {
  Position pos = position_from(StartFen);
  int score;
  evaluate(pos, 0, 0, 0);
  ASSERT_TRUE(eval_cache_probe(pos.HashKey, 0, score));
  PawnCacheEntry pawns;
  MaterialEntry material;
  ASSERT_TRUE(pawn_cache_probe(pos.PawnKey, 0, pawns));
  ASSERT_TRUE(material_cache_probe(pos.MaterialKey, 0, material));

  EXPECT_FALSE(eval_cache_resize(64));
  EXPECT_FALSE(pawn_cache_resize(32));
  EXPECT_FALSE(material_cache_resize(16));
  EXPECT_TRUE(eval_cache_probe(pos.HashKey, 0, score));
  EXPECT_TRUE(pawn_cache_probe(pos.PawnKey, 0, pawns));
  EXPECT_TRUE(material_cache_probe(pos.MaterialKey, 0, material));

  EXPECT_TRUE(eval_cache_resize(63));
  EXPECT_TRUE(pawn_cache_resize(31));
  EXPECT_TRUE(material_cache_resize(15));
  EXPECT_FALSE(eval_cache_probe(pos.HashKey, 0, score));
  EXPECT_FALSE(pawn_cache_probe(pos.PawnKey, 0, pawns));
  EXPECT_FALSE(material_cache_probe(pos.MaterialKey, 0, material));
  // 63 MB still hold 2^22 eight-byte entries.
  EXPECT_EQ(eval_cache_size().entryCount, 1u << 22);
}

TEST_F(CacheTest, ClearingEmptiesAllThree) {
  eval_cache_store(SomeKey, 0, 55);
  pawn_cache_store(SomeKey, 0, PawnCacheEntry{0, pair(1, 2), {3, 4}, {5, 6}, {7, 8}, {9, 10}});
  material_cache_store(SomeKey, 0, MaterialEntry{0, pair(1, 2), 3, 4});
  int score;
  PawnCacheEntry pawns;
  MaterialEntry material;
  ASSERT_TRUE(eval_cache_probe(SomeKey, 0, score));
  ASSERT_TRUE(pawn_cache_probe(SomeKey, 0, pawns));
  ASSERT_TRUE(material_cache_probe(SomeKey, 0, material));
  EXPECT_EQ(pawns.pawnScore, pair(1, 2));
  EXPECT_EQ(pawns.pawnlessFiles[1], 4);
  EXPECT_EQ(pawns.passedFiles[0], 5);
  EXPECT_EQ(pawns.shelterKingSq[1], 8);
  EXPECT_EQ(pawns.shelter[0], 9);
  EXPECT_EQ(material.phase, 3);
  clear_eval_caches();
  EXPECT_FALSE(eval_cache_probe(SomeKey, 0, score));
  EXPECT_FALSE(pawn_cache_probe(SomeKey, 0, pawns));
  EXPECT_FALSE(material_cache_probe(SomeKey, 0, material));
}

TEST_F(CacheTest, ReleasedCachesFindNothingAndEvaluationStillWorks) {
  release_eval_caches();
  EXPECT_EQ(eval_cache_size().megabytes, 0);
  Position pos = position_from(StartFen);
  EXPECT_EQ(evaluate(pos, 0, 0, 0), 20);
  int score;
  EXPECT_FALSE(eval_cache_probe(pos.HashKey, 0, score));
  EXPECT_TRUE(allocate_eval_caches());
  EXPECT_EQ(eval_cache_size().megabytes, 64);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VX_SANITIZED 1
#endif
#endif

// Caps the address space just above what the process uses, so that no new
// table fits.
[[maybe_unused]] void cap_address_space() {
  long pages = 0;
  if (FILE* f = fopen("/proc/self/statm", "r")) {
    if (fscanf(f, "%ld", &pages) != 1) pages = 0;
    fclose(f);
  }
  rlim_t limit = rlim_t(pages) * sysconf(_SC_PAGESIZE) + (8u << 20);
  rlimit rl{limit, limit};
  setrlimit(RLIMIT_AS, &rl);
}

TEST_F(CacheTest, FailedAllocationKeepsThePreviousTable) {
#ifdef VX_SANITIZED
  GTEST_SKIP() << "the sanitizers' allocators do not return null when memory runs out";
#else
  eval_cache_store(SomeKey, 0, 77);
  EXPECT_EXIT(
      {
        cap_address_space();
        bool resized = eval_cache_resize(32);
        int score = 0;
        bool ok = !resized && cache_resize_failed() && eval_cache_size().megabytes == 64 &&
                  eval_cache_probe(SomeKey, 0, score) && score == 77;
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
#endif
}

// Two writers keep rewriting one slot with two different entries while a reader
// probes it: every hit must be one writer's entry, whole.
TEST_F(CacheTest, TornSlotsAreNeverReturned) {
  const Key keyA = 0x1111111100000040ULL, keyB = 0x2222222200000040ULL;  // same slot
  const PawnCacheEntry pawnA{0, pair(1, -1), {1, 1}, {1, 1}, {1, 1}, {1, 1}};
  const PawnCacheEntry pawnB{0, pair(-2, 2), {2, 2}, {2, 2}, {2, 2}, {2, 2}};
  const MaterialEntry materialA{0, pair(3, -3), 3, 3}, materialB{0, pair(-4, 4), 4, 4};
  std::atomic<bool> stop{false};
  auto writer = [&](Key key, const PawnCacheEntry& p, const MaterialEntry& m) {
    while (!stop.load(std::memory_order_relaxed)) {
      pawn_cache_store(key, 0, p);
      material_cache_store(key, 0, m);
    }
  };
  std::thread a(writer, keyA, std::cref(pawnA), std::cref(materialA));
  std::thread b(writer, keyB, std::cref(pawnB), std::cref(materialB));
  long torn = 0, hits = 0;
  for (int i = 0; i < 20000000; i++) {
    bool useA = i & 1;
    const PawnCacheEntry& wantP = useA ? pawnA : pawnB;
    const MaterialEntry& wantM = useA ? materialA : materialB;
    PawnCacheEntry p;
    MaterialEntry m;
    if (pawn_cache_probe(useA ? keyA : keyB, 0, p)) {
      hits++;
      if (!(p.pawnScore == wantP.pawnScore) || p.pawnlessFiles[1] != wantP.pawnlessFiles[1] ||
          p.passedFiles[0] != wantP.passedFiles[0] || p.shelter[1] != wantP.shelter[1])
        torn++;
    }
    if (material_cache_probe(useA ? keyA : keyB, 0, m)) {
      hits++;
      if (!(m.material == wantM.material) || m.phase != wantM.phase || m.scaleDivisor != wantM.scaleDivisor) torn++;
    }
  }
  stop = true;
  a.join();
  b.join();
  EXPECT_EQ(torn, 0);
  EXPECT_GT(hits, 0);
}

// Threads evaluating at once through the shared caches, with their own thread
// slots and with the same one, get the single-threaded answers.
TEST_F(CacheTest, ConcurrentEvaluationsAgreeWithSingleThreaded) {
  std::vector<Position> positions = random_game_positions(20, 120, 64);
  std::vector<int> expected;
  for (const Position& pos : positions) expected.push_back(evaluate_uncached(pos));
  for (int sameSlot = 0; sameSlot < 2; sameSlot++) {
    clear_eval_caches();
    std::atomic<int> mismatches{0};
    auto worker = [&](int slot, bool lazy) {
      for (int round = 0; round < 3; round++)
        for (size_t i = 0; i < positions.size(); i++) {
          Position pos = positions[i];
          pos.ThreadSlot = slot;
          // The widest window never allows the lazy answer itself.
          int score = evaluate(pos, -32100, 32100, lazy);
          if (score != expected[i]) mismatches++;
        }
    };
    std::thread a(worker, 0, false), b(worker, sameSlot ? 0 : 63, true);
    a.join();
    b.join();
    EXPECT_EQ(mismatches.load(), 0) << (sameSlot ? "same thread slot" : "different thread slots");
  }
}

}  // namespace
