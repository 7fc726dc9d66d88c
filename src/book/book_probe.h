// Choosing a move from the opening book file named by BookFileName.
#pragma once

#include "board/types.h"

namespace classic {
struct BookHit {
  Move move = 0;  // 0: nothing found, or the book could not be used
  int score = 0;  // the chosen record's score
};

// Opens, searches and closes the book; chooses among the key's moves whose score
// passes BookMovesScore, by BookStyle. The move still has to be checked against
// the position: a key collision or a damaged file can name anything.
BookHit probe_book(Key key);
}  // namespace classic
