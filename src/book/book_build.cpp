#include <sstream>
#include <string>

#include "book/book.h"
#include "book/book_store.h"
#include "book/book_tools.h"
#include "book/pgn.h"
#include "platform/platform.h"

namespace classic {
namespace {
constexpr size_t MaxFileNameLine = 4095;

// The first word of the next input line that has one; empty at the end of input.
std::string ask_pgn_name() {
  printf("PGN file name: ");
  std::string line, word;
  while (word.empty() && read_line(line, MaxFileNameLine)) std::istringstream(line) >> word;
  return word;
}
}  // namespace

bool build_book(BookCache& cache, const char* pgnPath, const char* bookPath) {
  FILE* pgn = fopen(pgnPath, "r");
  if (!pgn) {
    book_debug("info string error: open PGN read\n");
    return false;
  }
  BoardConfig.chess960 = false;
  PgnTotals totals = add_pgn_games(pgn, cache);
  if (fclose(pgn) != 0) book_debug("info string error: close PGN\n");
  printf("\n\ntotal games: %d\n", totals.games);
  printf("move errors: %d\n\n", totals.moveErrors);
  if (totals.outOfMemory) {
    report_cache_out_of_memory();
    report_book_not_written(bookPath);
    return false;
  }
  printf("\nsorting... cache entry size = %d\n", cache.count);
  cache_sort(cache);
  if (!write_book(cache, bookPath)) return false;
  printf("\nmake book finished!\n");
  return true;
}

void makebook_command() {
  BookCache cache;
  if (!cache_init(cache)) {
    report_cache_out_of_memory();
    return;
  }
  build_book(cache, ask_pgn_name().c_str(), BookConfig.fileName.c_str());
  cache_free(cache);
}

void addbook_command() {
  BookCache cache;
  if (!cache_init(cache)) {
    report_cache_out_of_memory();
    return;
  }
  // A book read only in part would lose its other moves when written back. The
  // file name is asked for all the same, so that it is not taken for a command.
  const bool loaded = load_book(cache, BookConfig.fileName.c_str()) != BookLoad::Failed;
  const std::string pgn = ask_pgn_name();
  if (loaded)
    build_book(cache, pgn.c_str(), BookConfig.fileName.c_str());
  else
    report_book_not_written(BookConfig.fileName.c_str());
  cache_free(cache);
}
}  // namespace classic
