// The settings of the opening book and the learning file that the options change.
#pragma once

#include <string>

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

}  // namespace classic
