// The 24-byte record of the opening book, of the learning file and of the book
// builder's cache, and the limits all three share.
#pragma once

#include <cstdint>
#include <cstdio>

#include "board/position.h"

namespace classic {
struct BookEntry {
  Key key;  // position before the move
  Move move;
  int32_t count;  // how often the builder saw the move here, less one
  int16_t score;  // centipawns for the side to move, from the scorer; 0 unscored
  uint8_t reserved[6];
};
static_assert(sizeof(BookEntry) == 24);

constexpr long BookEntrySize = 24;
// The opening stage the book and the learning file cover, in game plies.
constexpr int BookDepth = 30;
// The scorer's mark for a move that is not legal in its position. No value of
// BookMovesScore lets it through.
constexpr int IllegalBookScore = -32100;

// Files hold the record little-endian whatever the machine.
void encode_entry(const BookEntry& entry, unsigned char bytes[BookEntrySize]);
BookEntry decode_entry(const unsigned char bytes[BookEntrySize]);

// One record at the file's current position; false on a short read.
bool read_entry(FILE* file, BookEntry& entry);
bool write_entry(FILE* file, const BookEntry& entry);

// Whether the word is one of the moves generated in the position: book and
// learning files come from disk and may hold anything.
bool legal_book_move(const Position& pos, Move move);

// "info string" diagnostics of the book, shown only with DebugInfoString on.
void book_debug(const char* format, ...) __attribute__((format(printf, 1, 2)));
}  // namespace classic
