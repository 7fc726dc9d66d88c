// Reading the opening book file: a flat array of BookEntry records sorted by key,
// record 0 reserved and all zero. The file is opened afresh for every use.
#pragma once

#include <cstdio>

#include "book/book_entry.h"

namespace classic {
struct BookFile {
  FILE* file = nullptr;
  int records = 0;  // whole records in the file, record 0 included
};

// Opens the book read-only and counts its records. False, with a diagnostic, when
// the file cannot be used.
bool open_book(BookFile& book, const char* path);
// Diagnoses a failing close; the file is released either way.
void close_book(BookFile& book);

// Record `index` by seek and read; false (with a diagnostic) when it cannot be read.
bool read_book_entry(BookFile& book, int index, BookEntry& entry);

// The first record of the key (lower bound over the sorted keys), or else the last
// record; -1 when the book has no records or could not be read.
int find_first_entry(BookFile& book, Key key);
}  // namespace classic
