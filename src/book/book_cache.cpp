#include "book/book_cache.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace classic {
namespace {
// Item numbers are int32 with -1 for "empty", and the index has twice as many
// slots as there are items.
constexpr int MaxCapacity = 1 << 30;

uint32_t home_slot(const BookCache& cache, Key key) { return uint32_t(key) & cache.mask; }

int32_t* empty_index(size_t slots) {
  auto* index = static_cast<int32_t*>(malloc(slots * sizeof(int32_t)));
  if (index) memset(index, 0xff, slots * sizeof(int32_t));
  return index;
}

uint32_t free_slot(const BookCache& cache, Key key) {
  uint32_t slot = home_slot(cache, key);
  while (cache.index[slot] != -1) slot = (slot + 1) & cache.mask;
  return slot;
}
}  // namespace

bool cache_init(BookCache& cache) {
  cache = BookCache{};
  cache.items = static_cast<BookEntry*>(malloc(sizeof(BookEntry)));
  cache.index = empty_index(2);
  if (!cache.items || !cache.index) {
    cache_free(cache);
    return false;
  }
  cache.capacity = 1;
  cache.mask = 1;
  return true;
}

void cache_free(BookCache& cache) {
  free(cache.items);
  free(cache.index);
  cache = BookCache{};
}

bool cache_grow(BookCache& cache) {
  const int64_t old = cache.capacity;
  if (old >= MaxCapacity) return false;
  int32_t* index = empty_index(size_t(4 * old));
  auto* items = index ? static_cast<BookEntry*>(realloc(cache.items, size_t(2 * old) * sizeof(BookEntry))) : nullptr;
  if (!items) {
    free(index);
    return false;
  }
  free(cache.index);
  cache.items = items;
  cache.index = index;
  cache.capacity = int(2 * old);
  cache.mask = uint32_t(4 * old - 1);
  for (int i = 0; i < cache.count; i++) cache.index[free_slot(cache, cache.items[i].key)] = i;
  if (64 * old > 1048512) cache.megabytes = int(64 * old / 1048576);
  return true;
}

int cache_add(BookCache& cache, Key key, Move move) {
  uint32_t slot = home_slot(cache, key);
  for (int32_t item; (item = cache.index[slot]) != -1; slot = (slot + 1) & cache.mask) {
    BookEntry& e = cache.items[item];
    if (e.key == key && e.move == move) {
      // A count loaded from a book file can already be the largest there is.
      if (e.count < INT32_MAX) e.count++;
      return item;
    }
  }
  if (cache.count == cache.capacity) {
    if (!cache_grow(cache)) return -1;
    slot = free_slot(cache, key);
  }
  cache.items[cache.count] = BookEntry{key, move, 0, 0, {}};
  cache.index[slot] = cache.count;
  return cache.count++;
}

void cache_sort(BookCache& cache) {
  std::sort(cache.items, cache.items + cache.count,
            [](const BookEntry& a, const BookEntry& b) { return a.key != b.key ? a.key < b.key : a.count > b.count; });
}

int cache_find_first(const BookCache& cache, Key key) {
  const BookEntry* begin = cache.items;
  const BookEntry* end = begin + cache.count;
  const BookEntry* first = std::lower_bound(begin, end, key, [](const BookEntry& e, Key k) { return e.key < k; });
  return first != end && first->key == key ? int(first - begin) : -1;
}
}  // namespace classic
