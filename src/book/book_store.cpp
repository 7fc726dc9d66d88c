#include "book/book_store.h"

#include <string>

#include "book/book_file.h"

namespace classic {
namespace {
bool write_records(FILE* file, const BookCache& cache) {
  if (!write_entry(file, BookEntry{})) {
    book_debug("info string error: write book entry index = %d\n", 0);
    return false;
  }
  int saved = 0;
  for (int i = 0; i < cache.count; i++) {
    if (cache.items[i].count < MinBookCount) continue;
    if (!write_entry(file, cache.items[i])) {
      book_debug("info string error: write book entry index = %d\n", saved + 1);
      return false;
    }
    if (++saved % 100000 == 0) printf("filtering moves... = %d\r", saved);
  }
  printf("\ntotal moves saved = %d\n", saved);
  return true;
}
}  // namespace

void report_book_not_written(const char* path) { printf("error: book file %s not written\n", path); }

void report_cache_out_of_memory() { printf("error: not enough memory for the book cache\n"); }

BookLoad load_book(BookCache& cache, const char* path) {
  BookFile book;
  if (!open_book(book, path)) return BookLoad::NoBook;
  BookLoad result = BookLoad::Loaded;
  if (fseek(book.file, 0, SEEK_SET) != 0) {
    printf("read error at %d\n", 0);
    result = BookLoad::Failed;
  }
  BookEntry entry;
  for (int i = 0; i < book.records && result == BookLoad::Loaded; i++) {
    if (!read_entry(book.file, entry)) {
      book_debug("info string error: read book entry index = %d\n", i);
      printf("read error at %d\n", i);
      result = BookLoad::Failed;
    } else if (int item = cache_add(cache, entry.key, entry.move); item < 0) {
      report_cache_out_of_memory();
      result = BookLoad::Failed;
    } else {
      cache.items[item].count = entry.count;
      cache.items[item].score = entry.score;
      if (i > 0 && i % 100000 == 0)
        printf("moves = %d, cache size = %d, cache MB = %d\r", i, cache.count, cache.megabytes);
    }
  }
  printf("\ntotal moves in cache = %d\n", cache.count - 1);
  close_book(book);
  return result;
}

bool write_book(const BookCache& cache, const char* path) {
  // Written beside the book and renamed over it only when complete, so that a full
  // disk or a failing device never leaves half a book behind.
  const std::string partial = std::string(path) + ".tmp";
  FILE* file = fopen(partial.c_str(), "wb");
  if (!file) {
    book_debug("info string error: open book file write!\n");
    report_book_not_written(path);
    return false;
  }
  bool written = write_records(file, cache);
  if (fclose(file) != 0) {
    book_debug("info string error: close book!\n");
    written = false;
  }
  if (written && rename(partial.c_str(), path) != 0) written = false;
  if (!written) {
    remove(partial.c_str());
    report_book_not_written(path);
  }
  return written;
}
}  // namespace classic
