// The transposition table of veltrix: clusters of four 16-byte entries, one
// 64-byte cache line each, shared by every search thread without locks. Entries
// keep the static evaluation beside the search result, so a position met again
// needs no evaluation.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/types.h"

enum HashBound : uint8_t { BoundNone = 0, BoundUpper = 1, BoundLower = 2, BoundExact = 3 };

// An entry as the search sees it: a copy taken from the table.
struct HashEntry {
  uint32_t key32;  // upper half of the position key, 0 = empty
  Move move;
  int16_t score;       // stored form (mate scores relative to the position)
  int16_t staticEval;  // ScoreNone when not evaluated
  uint16_t generation;
  int8_t depth;
  uint8_t bound;
};

// An entry as it lies in the table: two words other threads may rewrite at any
// time. Each word is read and written whole; the key travels with the move, so a
// move taken from the table always belongs to its key (and is tested before it is
// played), while score and depth of a torn entry are at worst a bad guess.
struct HashSlot {
  std::atomic<uint64_t> keyMove;  // key32 | move << 32
  std::atomic<uint64_t> data;     // score | eval << 16 | generation << 32 | depth << 48 | bound << 56
};

struct alignas(64) HashCluster {
  HashSlot slot[4];
};
static_assert(sizeof(HashCluster) == 64);

struct HashTable {
  HashCluster* clusters = nullptr;
  uint32_t clusterCount = 0;
  uint32_t mask = 0;
  int hashMegabytes = 0;
  // Stores since the search started, up to the cluster count: the "hashfull" figure.
  std::atomic<uint32_t> storeCount{0};
};

extern HashTable Table;

// Clusters for a size in megabytes: the largest power of two that fits.
uint32_t clusters_for(int megabytes);

// Replaces the table by a cleared one of the given size. When the memory is not
// there, the old table stays as it was and the answer is false.
bool table_allocate(int megabytes);
void table_free();
void table_clear();
// A new search: the next generation, and the store count from zero.
void table_new_search();
uint16_t table_generation();
int table_hashfull();

bool table_probe(Key key, HashEntry& entry);
// `score` arrives in stored form; a move of 0 keeps the move already stored for
// the position.
void table_store(Key key, int bound, int score, Move move, int depth, int staticEval);
