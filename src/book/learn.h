// The learning file: results of the engine's own deep searches in the opening,
// appended one record per search and never rewritten. Older records win.
#pragma once

#include "book/book_probe.h"

namespace classic {
constexpr const char* LearnFileName = "veltrix_book_learn.bin";
// At most LearnCapacity - 1 records are ever written.
constexpr int LearnCapacity = 100000;

// The first record of the key in file order, or move 0.
BookHit read_learn(Key key, const char* path = LearnFileName);
// Appends one record while the file has room; true when it was written.
bool append_learn(Key key, Move move, int score, const char* path = LearnFileName);
}  // namespace classic
