// The book builder's PGN reader on any file. The cache it fills must stay a sound
// open-addressing table of distinct (position, move) pairs, and the book written
// from it must read back with exactly the pairs seen often enough, counts and all.
#include <map>
#include <set>
#include <utility>

#include "book/book_cache.h"
#include "book/book_store.h"
#include "book/pgn.h"
#include "fuzz_support.h"

using namespace classic;

namespace {

ScratchFile* PgnFile;
ScratchFile* BookFile;

bool findable(const BookCache& cache, int item) {
  uint32_t slot = uint32_t(cache.items[item].key) & cache.mask;
  for (uint32_t probes = 0; probes <= cache.mask; probes++, slot = (slot + 1) & cache.mask) {
    if (cache.index[slot] == item) return true;
    if (cache.index[slot] == -1) return false;
  }
  return false;
}

void check_cache(const BookCache& cache) {
  FUZZ_CHECK(cache.count >= 0 && cache.count <= cache.capacity, "cache count beyond its capacity");
  FUZZ_CHECK(cache.mask == uint32_t(2 * cache.capacity - 1), "index is not twice the capacity");
  std::set<std::pair<Key, Move>> pairs;
  for (int i = 0; i < cache.count; i++) {
    const BookEntry& e = cache.items[i];
    FUZZ_CHECK(e.count >= 0 && e.score == 0, "a new pair starts at count 0 and score 0");
    FUZZ_CHECK(pairs.insert({e.key, e.move}).second, "a pair stored twice");
    FUZZ_CHECK(findable(cache, i), "an item the index cannot find");
  }
  for (uint32_t slot = 0; slot <= cache.mask; slot++)
    FUZZ_CHECK(cache.index[slot] >= -1 && cache.index[slot] < cache.count, "index slot out of range");
}

// The written book holds record 0 and every pair counted MinBookCount times or more,
// with its count and score.
void check_round_trip(BookCache& cache) {
  using Pair = std::pair<Key, Move>;
  std::map<Pair, std::pair<int, int>> expected{{Pair{0, 0}, {0, 0}}};
  for (int i = 0; i < cache.count; i++) {
    const BookEntry& e = cache.items[i];
    if (e.count >= MinBookCount) expected[{e.key, e.move}] = {e.count, e.score};
  }
  cache_sort(cache);
  FUZZ_CHECK(write_book(cache, BookFile->path.c_str()), "the book was not written");
  BookCache loaded;
  FUZZ_CHECK(cache_init(loaded), "no memory for the cache");
  FUZZ_CHECK(load_book(loaded, BookFile->path.c_str()) == BookLoad::Loaded, "the book written does not load");
  std::map<Pair, std::pair<int, int>> found;
  for (int i = 0; i < loaded.count; i++) {
    const BookEntry& e = loaded.items[i];
    found[{e.key, e.move}] = {e.count, e.score};
  }
  FUZZ_CHECK(found == expected, "the book read back differs from the pairs written");
  cache_free(loaded);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  init_tables();
  silence_stdout();
  PgnFile = new ScratchFile("pgn");
  BookFile = new ScratchFile("book");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BoardConfig = BoardSettings{};
  PgnFile->write(data, size);
  FILE* pgn = fopen(PgnFile->path.c_str(), "r");
  FUZZ_CHECK(pgn, "cannot read the scratch file");
  BookCache cache;
  FUZZ_CHECK(cache_init(cache), "no memory for the cache");
  PgnTotals totals = add_pgn_games(pgn, cache);
  fclose(pgn);
  FUZZ_CHECK(!totals.outOfMemory, "out of memory on a small file");
  FUZZ_CHECK(totals.moveErrors <= totals.games, "more move errors than games");
  check_cache(cache);
  check_round_trip(cache);
  cache_free(cache);
  return 0;
}
