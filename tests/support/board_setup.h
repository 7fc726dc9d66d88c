// Board-core set-up shared by the unit tests.
#pragma once

#include <mutex>
#include <string>

#include <gtest/gtest.h>

#include "board/movegen.h"
#include "board/position.h"

inline void ensure_tables() {
  static std::once_flag once;
  std::call_once(once, [] { init_tables(); });
}

// The position of a FEN that must be valid.
inline Position position_from(const std::string& fen, Dialect dialect = Dialect::Classic) {
  ensure_tables();
  Position pos{};
  EXPECT_TRUE(read_fen(pos, fen.c_str(), dialect)) << fen;
  return pos;
}

// Every legal move of the position.
inline MoveList legal_moves(const Position& pos) {
  MoveList list;
  generate_legal(pos, list);
  return list;
}

// Restores the board switches a test changed.
struct BoardConfigGuard {
  BoardSettings saved = BoardConfig;
  ~BoardConfigGuard() { BoardConfig = saved; }
};
