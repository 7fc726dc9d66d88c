// The opening book and the learning file as the root search uses them, and the
// settings the options change.
#pragma once

#include <string>

#include "board/position.h"

namespace classic {
struct BookSettings {
  bool ownBook = true;
  std::string fileName = "veltrix_book.bin";
  int style = 2;        // 1 Best, 2 Variety, 3 Random
  int movesScore = 60;  // only moves scored within this many centipawns of 0 are played
  bool listMoves = false;
  bool learn = true;
  // The game was set up from the start position ("startpos", "new", "ucinewgame"),
  // not from a FEN: only then may the book be used.
  bool gameFromStart = true;
};

extern BookSettings BookConfig;

// A move for the root from the book, or else from the learning file, already
// checked to be legal here; 0 when neither may be used or neither knows one.
Move book_root_move(const Position& root);

// Remembers the result of a finished search in the learning file when the rules
// allow it. `depth` is the last iteration started.
void learn_root_result(const Position& root, Move best, int score, int depth);
}  // namespace classic
