// Set-up shared by the opening book tests: a temporary working directory (the
// learning file lives in the working directory), book files written and read
// record by record, and the book options restored after each test.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "board/movetext.h"
#include "book/book_entry.h"
#include "search/limits.h"
#include "support/board_setup.h"
#include "support/classic_config.h"
#include "support/engine_process.h"

using namespace classic;

inline BookEntry book_entry(Key key, Move move, int count, int score = 0) {
  return BookEntry{key, move, count, int16_t(score), {}};
}

inline void write_book_records(const std::string& path, const std::vector<BookEntry>& records) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const BookEntry& e : records) {
    unsigned char bytes[BookEntrySize];
    encode_entry(e, bytes);
    out.write(reinterpret_cast<const char*>(bytes), BookEntrySize);
  }
}

inline std::vector<BookEntry> read_book_records(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<BookEntry> records;
  unsigned char bytes[BookEntrySize];
  while (in.read(reinterpret_cast<char*>(bytes), BookEntrySize)) records.push_back(decode_entry(bytes));
  return records;
}

inline void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The legal move the coordinate text names in the position.
inline Move move_of(const Position& pos, const char* text) {
  Move m = parse_move(pos, text);
  EXPECT_NE(m, 0u) << text;
  return m;
}

// Key of the position reached from the start by the coordinate moves.
inline Position after_moves(const std::vector<const char*>& moves) {
  Position pos = position_from(StartFen);
  for (const char* text : moves) make_move(pos, move_of(pos, text), 1);
  return pos;
}

class BookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    previousDir_ = std::filesystem::current_path();
    dir_ = make_temp_dir();
    std::filesystem::current_path(dir_);
    BookConfig.fileName = path("book.bin");
    BookConfig.gameFromStart = true;
    BookConfig.ownBook = true;
    BookConfig.learn = true;
    BookConfig.style = 1;
    BookConfig.movesScore = 60;
    BookConfig.listMoves = false;
    Time.infinite = false;
    BoardConfig.chess960 = false;
    BoardConfig.debugInfo = false;
  }
  void TearDown() override {
    std::filesystem::current_path(previousDir_);
    std::filesystem::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  BoardConfigGuard boardGuard_;
  ClassicConfigGuard configGuard_;
  std::filesystem::path previousDir_;
  std::string dir_;
};
