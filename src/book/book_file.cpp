#include "book/book_file.h"

#include <climits>

namespace classic {
bool open_book(BookFile& book, const char* path) {
  book = BookFile{};
  book.file = fopen(path, "rb");
  if (!book.file) {
    book_debug("info string error: open book file read!\n");
    return false;
  }
  if (fseek(book.file, 0, SEEK_END) != 0) {
    book_debug("info string error: fseek 0\n");
    close_book(book);
    return false;
  }
  long size = ftell(book.file);
  // Record indices are ints; a larger file is not a book this engine wrote.
  if (size < 0 || size / BookEntrySize > INT_MAX) {
    book_debug("info string error: book size read!\n");
    close_book(book);
    return false;
  }
  book.records = int(size / BookEntrySize);
  book_debug("info string book file = %s\n", path);
  book_debug("info string book size = %d\n", book.records - 1);
  return true;
}

void close_book(BookFile& book) {
  if (book.file && fclose(book.file) != 0) book_debug("info string error: close book!\n");
  book.file = nullptr;
}

bool read_book_entry(BookFile& book, int index, BookEntry& entry) {
  if (index < 0 || index >= book.records || fseek(book.file, long(index) * BookEntrySize, SEEK_SET) != 0 ||
      !read_entry(book.file, entry)) {
    book_debug("info string error: read book entry index = %d\n", index);
    return false;
  }
  return true;
}

int find_first_entry(BookFile& book, Key key) {
  if (book.records < 1) return -1;
  int lo = 0, hi = book.records - 1;
  BookEntry entry;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (!read_book_entry(book, mid, entry)) return -1;
    if (entry.key < key)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (!read_book_entry(book, lo, entry)) return -1;
  return entry.key == key ? lo : book.records - 1;
}
}  // namespace classic
