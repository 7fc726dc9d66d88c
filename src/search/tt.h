// The transposition table: one array of 16-byte entries shared by every search
// thread without locks, probed through buckets of four consecutive entries.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/settings.h"
#include "board/types.h"

enum Bound : uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

// An entry as the searches see it: a copy taken in one go from the table.
struct TTEntry {
  uint32_t key32;  // upper half of the position key, 0 = empty
  uint32_t move;
  int16_t score;  // stored form (mate scores relative to the position)
  uint8_t age;
  int8_t depth;
  uint8_t bound;
};

// The entry as it lies in the table: two words that other threads may rewrite at
// any moment. Each word is read and written whole; a copy assembled from two
// different writes is possible and harmless, because every hit is confirmed by
// the key and every move taken from the table is tested before it is played.
struct TTSlot {
  std::atomic<uint64_t> keyMove;   // key32 | move << 32
  std::atomic<uint64_t> scoreEtc;  // score | age << 16 | depth << 24 | bound << 32
};
static_assert(sizeof(TTSlot) == 16);

constexpr int TTDefaultMegabytes = 256;
constexpr int TTMaxMegabytes = 8192;
// Depth of the principal-variation moves re-stored between iterations: lower than
// any searched depth, so every real result replaces them.
constexpr int TTPvDepth = -120;

struct TranspositionTable {
  TTSlot* entries = nullptr;  // entryCount + 4 slots
  int hashMegabytes = TTDefaultMegabytes;
  std::atomic<uint32_t> storeCount{0};  // stores in this search, saturating at entryCount
  uint32_t entryCount = 0;
  uint32_t indexMask = 0;
};

extern TranspositionTable TT;

// The search age of the entries: the board core's table age, kept to one byte.
inline uint8_t hash_age() { return uint8_t(TableAge); }

// Start-up: allocates the default 256 MB and empties it. False when the memory
// could not be had (the program then has no table and must not search).
bool tt_init();

enum class ResizeResult { Unchanged, Resized, Failed };
// The Hash option: clamps to 1..8192 MB. On failure the previous table stays in
// place, contents and all.
ResizeResult tt_resize(int megabytes);

// Empties the table and the three evaluation caches.
void tt_clear();
// Frees the table ("quit"); nothing may probe it afterwards until tt_init.
void tt_release();
void tt_new_search();
int tt_hashfull();

bool tt_probe(Key key, TTEntry& entry);
void tt_store(Key key, int bound, int score, Move move, int depth);

inline void tt_prefetch(Key key) { prefetch_table(key); }
