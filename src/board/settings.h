// The few program-wide switches that the board core itself reads. The front end
// of each program sets them from its options; they change only between searches.
#pragma once

#include <cstddef>
#include <cstdint>

struct BoardSettings {
  bool chess960 = false;       // UCI_Chess960: castling encoding and FEN castling letters
  bool castlingOO = false;     // Castling_OO: castling written and read as "O-O" / "O-O-O"
  bool ssePopcount = true;     // SSE_Popcount: processor population count or 16-bit table
  bool ssePrefetch = true;     // SSE_Prefetch: prefetch the table bucket after each move
  bool debugInfo = false;      // DebugInfoString: the "info string" diagnostics
  bool sequenceOutput = true;  // move sequences are printed only while this is on
};
extern BoardSettings BoardConfig;

// The search age of the transposition table: the age the latest search stored its
// entries with. It lives with the board because the board dumps show it; the table
// of each program advances it and sets it back (on a new game or an emptied table).
extern int TableAge;

// Where make-move prefetches the transposition-table bucket of the new key: set
// by whichever table the program uses, left empty when there is none.
struct PrefetchTarget {
  const char* base = nullptr;
  uint64_t mask = 0;
  size_t stride = 0;
};
extern PrefetchTarget TablePrefetch;

// Always inlined: a prefetch has no effect the compiler can see, so a call that is
// not inlined at once is taken for a call of a pure function and dropped.
[[gnu::always_inline]] inline void prefetch_table(uint64_t key) {
  if (BoardConfig.ssePrefetch && TablePrefetch.base)
    __builtin_prefetch(TablePrefetch.base + (key & TablePrefetch.mask) * TablePrefetch.stride, 0, 2);
}
