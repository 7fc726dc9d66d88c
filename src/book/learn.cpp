#include "book/learn.h"

#include "book/book_entry.h"

namespace classic {
namespace {
// Whole records in the file opened for reading, or -1 after a diagnostic.
long record_count(FILE* file) {
  if (fseek(file, 0, SEEK_END) != 0) {
    book_debug("info string error: book learn file fseek 0\n");
    return -1;
  }
  long size = ftell(file);
  if (size < 0) book_debug("info string error: book learn size read!\n");
  return size < 0 ? -1 : size / BookEntrySize;
}

void close_learn(FILE* file) {
  if (fclose(file) != 0) book_debug("info string error: close book learn!\n");
}

BookHit first_record_of(FILE* file, long records, Key key) {
  if (fseek(file, 0, SEEK_SET) != 0) {
    book_debug("info string error: read book learn entry index = %d\n", 0);
    return {};
  }
  BookEntry entry;
  for (long index = 0; index < records; index++) {
    if (!read_entry(file, entry)) {
      book_debug("info string error: read book learn entry index = %ld\n", index);
      return {};
    }
    if (entry.key == key) {
      book_debug("info string read book learn found entry index = %ld / %ld\n", index + 1, records);
      return {entry.move, entry.score};
    }
  }
  return {};
}

// A record cut short by an earlier failed write is completed with zeros first,
// so that the new record and every later one stay on the 24-byte grid.
bool complete_ragged_record(FILE* file, long size) {
  for (long pad = (BookEntrySize - size % BookEntrySize) % BookEntrySize; pad > 0; pad--)
    if (fputc(0, file) == EOF) return false;
  return true;
}
}  // namespace

BookHit read_learn(Key key, const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) {
    book_debug("info string error: open book learn file read!\n");
    return {};
  }
  BookHit hit;
  if (long records = record_count(file); records >= 0) hit = first_record_of(file, records, key);
  close_learn(file);
  if (!hit.move) book_debug("info string no book learn move found\n");
  return hit;
}

bool append_learn(Key key, Move move, int score, const char* path) {
  FILE* file = fopen(path, "ab");
  if (!file) {
    book_debug("info string error: open book learn file write!\n");
    return false;
  }
  bool written = false;
  long size = -1;
  if (fseek(file, 0, SEEK_END) != 0) {
    book_debug("info string error: book learn file fseek 0\n");
  } else if ((size = ftell(file)) < 0) {
    book_debug("info string error: book learn size write!\n");
  } else if (long records = (size + BookEntrySize - 1) / BookEntrySize; records + 1 < LearnCapacity) {
    BookEntry entry{key, move, 1, int16_t(score), {}};
    written = complete_ragged_record(file, size) && write_entry(file, entry);
    if (written)
      book_debug("info string book learn size = %ld / %d\n", records + 1, LearnCapacity);
    else
      book_debug("info string error: write book learn entry\n");
  }
  if (fclose(file) != 0) {
    book_debug("info string error: close book learn!\n");
    written = false;
  }
  return written;
}
}  // namespace classic
