// The opening book on any file: probing by key with every style and filter, the
// root's use of it, and loading it whole for the book tools. The first three bytes
// choose the options and whether the records are sorted first (a book as the
// builder writes it); the rest is the file.
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "book/book.h"
#include "book/book_cache.h"
#include "book/book_probe.h"
#include "book/book_store.h"
#include "fuzz_support.h"
#include "search/limits.h"
#include "support/classic_config.h"

using namespace classic;

namespace {

ScratchFile* Book;
Position Start;

std::vector<BookEntry> records_of(const uint8_t* data, size_t size) {
  std::vector<BookEntry> records;
  for (size_t at = 0; at + BookEntrySize <= size; at += BookEntrySize) records.push_back(decode_entry(data + at));
  return records;
}

bool is_candidate(const BookEntry& e, Key key) {
  return e.key == key && std::abs(int(e.score)) <= BookConfig.movesScore;
}

// In a sorted book a key's records lie together: a probe answers exactly when one of
// them passes the filter, with a move of the most played candidates for "Best".
void check_probe(const std::vector<BookEntry>& records, Key key, bool sorted) {
  const BookHit hit = probe_book(key);
  std::vector<BookEntry> candidates;
  for (const BookEntry& e : records)
    if (is_candidate(e, key) && candidates.size() < 255) candidates.push_back(e);
  const bool known = std::any_of(candidates.begin(), candidates.end(),
                                 [&](const BookEntry& e) { return e.move == hit.move && e.score == hit.score; });
  FUZZ_CHECK(hit.move == 0 || known, "the book answered a move it does not hold for the key");
  if (!sorted || BookConfig.style < 1 || BookConfig.style > 3) return;
  FUZZ_CHECK((hit.move != 0) == !candidates.empty() ||
                 std::any_of(candidates.begin(), candidates.end(), [](const BookEntry& e) { return e.move == 0; }),
             "a sorted book missed a candidate");
  if (BookConfig.style == 1 && hit.move) {
    int most = INT32_MIN;
    for (const BookEntry& e : candidates) most = std::max(most, e.count);
    FUZZ_CHECK(std::any_of(candidates.begin(), candidates.end(),
                           [&](const BookEntry& e) { return e.move == hit.move && e.count == most; }),
               "\"Best\" did not choose a most played move");
  }
}

// Loading keeps every distinct pair once, with the count and score of its last record.
void check_load(const std::vector<BookEntry>& records) {
  std::map<std::pair<Key, Move>, std::pair<int, int>> expected;
  for (const BookEntry& e : records) expected[{e.key, e.move}] = {e.count, e.score};
  BookCache cache;
  FUZZ_CHECK(cache_init(cache), "no memory for the cache");
  FUZZ_CHECK(load_book(cache, Book->path.c_str()) == BookLoad::Loaded, "a readable book did not load");
  std::map<std::pair<Key, Move>, std::pair<int, int>> loaded;
  for (int i = 0; i < cache.count; i++)
    loaded[{cache.items[i].key, cache.items[i].move}] = {cache.items[i].count, cache.items[i].score};
  FUZZ_CHECK(loaded == expected, "the loaded book differs from the file");
  cache_free(cache);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  init_tables();
  silence_stdout();
  read_fen(Start, StartFen);
  Book = new ScratchFile("book.bin");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  const uint8_t flags = in.byte();
  reset_classic_config();
  BookConfig.fileName = Book->path;
  BookConfig.style = flags & 3;  // 0 is no style at all: it must choose nothing
  BookConfig.listMoves = flags & 4;
  BoardConfig = BoardSettings{};
  BoardConfig.debugInfo = flags & 8;
  const bool sorted = flags & 16;
  BookConfig.movesScore = in.byte() % 81;
  srand(in.byte());
  std::vector<BookEntry> records = records_of(in.data, in.size);
  if (sorted) {
    std::stable_sort(records.begin(), records.end(), [](const BookEntry& a, const BookEntry& b) {
      return a.key != b.key ? a.key < b.key : a.count > b.count;
    });
    std::vector<uint8_t> bytes(records.size() * BookEntrySize);
    for (size_t i = 0; i < records.size(); i++) encode_entry(records[i], bytes.data() + i * BookEntrySize);
    bytes.insert(bytes.end(), in.data + bytes.size(), in.data + in.size);  // a ragged tail stays
    Book->write(bytes.data(), bytes.size());
  } else {
    Book->write(in.data, in.size);
  }
  std::vector<Key> keys = {Start.HashKey, 0};
  for (size_t i = 0; i < records.size() && i < 4; i++) keys.push_back(records[i].key);
  if (!records.empty()) keys.push_back(records.back().key);
  for (Key key : keys) check_probe(records, key, sorted);

  Time = TimeControl{};
  BookConfig.gameFromStart = true;
  BookConfig.learn = false;
  const Move root = book_root_move(Start);
  FUZZ_CHECK(root == 0 || legal_book_move(Start, root), "the root took a move that is not legal");
  check_load(records);
  return 0;
}
