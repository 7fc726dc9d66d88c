#include "book/book_entry.h"

#include <cstdarg>

#include "board/movegen.h"
#include "board/settings.h"

namespace classic {
namespace {
void put_le(unsigned char* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; i++) out[i] = uint8_t(value >> (8 * i));
}

uint64_t get_le(const unsigned char* in, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; i++) value |= uint64_t(in[i]) << (8 * i);
  return value;
}
}  // namespace

void encode_entry(const BookEntry& entry, unsigned char bytes[BookEntrySize]) {
  put_le(bytes, entry.key, 8);
  put_le(bytes + 8, entry.move, 4);
  put_le(bytes + 12, uint32_t(entry.count), 4);
  put_le(bytes + 16, uint16_t(entry.score), 2);
  for (int i = 18; i < BookEntrySize; i++) bytes[i] = 0;
}

BookEntry decode_entry(const unsigned char bytes[BookEntrySize]) {
  BookEntry entry{};
  entry.key = get_le(bytes, 8);
  entry.move = Move(get_le(bytes + 8, 4));
  entry.count = int32_t(uint32_t(get_le(bytes + 12, 4)));
  entry.score = int16_t(uint16_t(get_le(bytes + 16, 2)));
  return entry;
}

bool read_entry(FILE* file, BookEntry& entry) {
  unsigned char bytes[BookEntrySize];
  if (fread(bytes, 1, BookEntrySize, file) != size_t(BookEntrySize)) return false;
  entry = decode_entry(bytes);
  return true;
}

bool write_entry(FILE* file, const BookEntry& entry) {
  unsigned char bytes[BookEntrySize];
  encode_entry(entry, bytes);
  return fwrite(bytes, 1, BookEntrySize, file) == size_t(BookEntrySize);
}

bool legal_book_move(const Position& pos, Move move) {
  MoveList list;
  generate_legal(pos, list);
  for (int i = 1; i <= list.count; i++)
    if (list.moves[i].move == move) return true;
  return false;
}

void book_debug(const char* format, ...) {
  if (!BoardConfig.debugInfo) return;
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
}
}  // namespace classic
