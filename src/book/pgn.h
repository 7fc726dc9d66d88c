// Reading the opening moves of PGN games into the book builder's cache.
#pragma once

#include <cstdio>

#include "book/book_cache.h"

namespace classic {
// Games read from one PGN file at most.
constexpr int MaxPgnGames = 5000000;

struct PgnTotals {
  int games = 0;
  int moveErrors = 0;  // unreadable or illegal moves; each ends its game's use
  bool outOfMemory = false;
};

// Adds (position, move) for the first 29 half-moves of every game that starts
// from the standard position, printing progress every 10,000 games.
PgnTotals add_pgn_games(FILE* pgn, BookCache& cache);
}  // namespace classic
