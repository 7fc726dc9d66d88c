// Moving the whole book between its file and the builder's cache.
#pragma once

#include "book/book_cache.h"

namespace classic {
// Records seen fewer times than this stay out of the book.
constexpr int MinBookCount = 3;

enum class BookLoad { Loaded, NoBook, Failed };

// Every record of the book file, record 0 included, with its count and score.
// NoBook when the file cannot be opened; Failed when it could not be read to the
// end or the memory ran out (the cache then holds only part of the book).
BookLoad load_book(BookCache& cache, const char* path);

// Writes record 0 and then, in cache order, every item counted at least
// MinBookCount times. The file is replaced only when every record was written;
// otherwise the old file stays and an error line says so.
bool write_book(const BookCache& cache, const char* path);

// Printed whatever DebugInfoString says: a book build or scoring run that ends
// without its book must not look like a finished one.
void report_book_not_written(const char* path);
void report_cache_out_of_memory();
}  // namespace classic
