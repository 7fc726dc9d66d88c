// The book builder's memory: every (position, move) pair met so far with its
// count and score, found again through an open-addressing index. Built to take
// millions of games in one pass.
#pragma once

#include <cstdint>

#include "book/book_entry.h"

namespace classic {
struct BookCache {
  BookEntry* items = nullptr;  // in insertion order until sorted
  int32_t* index = nullptr;    // item numbers, -1 for an empty slot; twice the capacity
  uint32_t mask = 0;           // index slots - 1
  int count = 0;
  int capacity = 0;
  int megabytes = 0;  // rough size, for the progress lines only
};

// Capacity 1 and an index of two empty slots; false when memory is short.
bool cache_init(BookCache& cache);
void cache_free(BookCache& cache);
// The item of the pair: an earlier one with its count raised by one, or a new one
// with count 0 and score 0. -1 when the cache could not grow.
int cache_add(BookCache& cache, Key key, Move move);
// Doubles the capacity and rebuilds the index; false (cache unchanged) when the
// memory is not there.
bool cache_grow(BookCache& cache);
// Key ascending, then count descending: the order of the book file.
void cache_sort(BookCache& cache);
// The first item of the key in a sorted cache, or -1.
int cache_find_first(const BookCache& cache, Key key);
}  // namespace classic
