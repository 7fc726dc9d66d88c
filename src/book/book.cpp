#include "book/book.h"

#include "book/book_entry.h"
#include "book/book_probe.h"
#include "book/learn.h"
#include "search/limits.h"

namespace classic {
BookSettings BookConfig;

namespace {
// The book speaks for standard-chess games begun from the start position, in
// their opening, and only when the answer is wanted within a time limit.
bool book_phase(const Position& root) {
  return !BoardConfig.chess960 && BookConfig.gameFromStart && !Time.infinite && BookConfig.ownBook &&
         root.GamePly <= BookDepth;
}

// The generated moves are legal ones, so being among them is the whole test.
Move accepted(const Position& root, Move move) { return move && legal_book_move(root, move) ? move : 0; }
}  // namespace

Move book_root_move(const Position& root) {
  if (!book_phase(root)) return 0;
  if (Move move = accepted(root, probe_book(root.HashKey).move)) return move;
  if (!BookConfig.learn) return 0;
  return accepted(root, read_learn(root.HashKey).move);
}

void learn_root_result(const Position& root, Move best, int score, int depth) {
  if (!book_phase(root) || !BookConfig.learn || !best || depth < 20) return;
  if ((score < 0 ? -score : score) > BookConfig.movesScore) return;
  append_learn(root.HashKey, best, score);
}
}  // namespace classic
