// The FEN harnesses of both programs: a text read over a real position, then the
// whole move tree below an accepted one.
#pragma once

#include "fuzz_support.h"

// Reads the text over the start position, so that a rejected text can be seen to
// leave the earlier position alone. Returns whether the text was accepted; `pos`
// then holds the position read.
inline bool fuzz_fen(const std::string& text, Dialect dialect, Position& pos) {
  pos = Position{};
  FUZZ_CHECK(read_fen(pos, StartFen, dialect), "the start position is refused");
  const Position before = pos;
  if (!read_fen(pos, text.c_str(), dialect)) {
    FUZZ_CHECK(same_position(pos, before), "a refused FEN changed the position");
    return false;
  }
  // The counters may come from the text, bounded to what the rules can use.
  FUZZ_CHECK(pos.GamePly >= 1 && pos.Fifty >= 0 && pos.Fifty <= 100, "a new position's counters are out of bounds");
  check_move_tree(pos, dialect);
  print_board(pos);
  return true;
}
