// The console commands that build and score the opening book.
#pragma once

#include "board/position.h"
#include "book/book_cache.h"

namespace classic {
// "makebook": a new book from the games of a PGN file whose name is asked for.
void makebook_command();
// "addbook": the existing book with the games of a PGN file added.
void addbook_command();
// "sbook": scores every book move reachable from the position and rewrites the book.
void sbook_command(const Position& pos);

// Adds the games of the PGN file to the cache, then sorts it and writes the book.
bool build_book(BookCache& cache, const char* pgnPath, const char* bookPath);
// Loads the book, scores its moves from the position and writes it back.
bool score_book_file(const Position& pos, const char* bookPath);
}  // namespace classic
