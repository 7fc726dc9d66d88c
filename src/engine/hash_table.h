// The transposition table of both engines: an array of 16-byte entries shared by
// every search thread without locks, probed through buckets of four entries. The
// engines differ in where a bucket may start, how wide the search age is and what
// an empty entry holds; a TableLayout states those differences, the rest is one
// mechanism.
#pragma once

#include <atomic>
#include <cstdint>

#include "board/types.h"

enum Bound : uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

// An entry as the searches see it: a copy taken from the table.
struct HashEntry {
  uint32_t key32;  // upper half of the position key, 0 = empty
  Move move;
  int16_t score;       // stored form (mate scores relative to the position)
  int16_t staticEval;  // the layout's no-value score when not evaluated
  uint16_t age;        // the search that wrote it
  int8_t depth;
  uint8_t bound;
};

// An entry as it lies in the table: two words that other threads may rewrite at
// any moment. Each word is read and written whole. The key travels with the move,
// so a move taken from the table belongs to its key (and is tested before it is
// played), while the values of a torn entry are at worst a bad guess.
struct HashSlot {
  std::atomic<uint64_t> keyMove;  // key32 | move << 32
  std::atomic<uint64_t> data;     // score | eval << 16 | age << 32 | depth << 48 | bound << 56
};
static_assert(sizeof(HashSlot) == 16);

struct TableLayout {
  // 1: a bucket starts at any entry (and may straddle two cache lines); 4: buckets
  // are aligned clusters, one cache line each.
  int entriesPerIndex;
  uint16_t ageMask;   // the search age wraps at this width
  int16_t noScore;    // score and evaluation of an empty entry
  int8_t emptyDepth;  // depth of an empty entry and of re-stored principal-variation moves
  int maxMegabytes;
  bool singlePrecisionFill;  // how "hashfull" is computed
};

enum class ResizeResult { Unchanged, Resized, Failed };

// Bucket starts of a table of this size: the largest power of two whose buckets fit.
uint32_t table_index_count(const TableLayout& layout, int megabytes);

struct TranspositionTable {
  explicit TranspositionTable(const TableLayout& l) : layout(l) {}

  const TableLayout layout;
  HashSlot* slots = nullptr;  // indexCount * entriesPerIndex + 4 entries
  uint32_t indexCount = 0;    // bucket starts, a power of two
  uint32_t indexMask = 0;
  int megabytes = 0;  // in force, or noted while deferred
  bool deferredSize = false;
  // Stores in the current search, up to indexCount: the "hashfull" figure. On a
  // cache line of its own: every thread's stores write it while every probe reads
  // the fields above, which would otherwise wait for the line after each store.
  alignas(64) std::atomic<uint32_t> storeCount{0};

  // Clamps to 1..maxMegabytes. The same size changes nothing; on a failed allocation
  // the previous table stays in place, contents and all.
  ResizeResult resize(int requestedMegabytes);
  // Start-up: the largest table of at most `megabytes` whose memory can be had,
  // halving the size after each failure; answers the size obtained, 0 for none.
  int allocate_at_most(int requestedMegabytes);
  // A table of this size is wanted, but its memory is taken only when a search or
  // "isready" needs it (allocate_deferred): taking and filling hundreds of megabytes
  // would hold back the answer to "uci", and a Hash set meanwhile would cost a
  // second allocation. Until then resize only notes the size.
  void defer(int requestedMegabytes);
  bool deferred() const { return deferredSize; }
  // The deferred table at the size noted last or, when that memory is not there,
  // at most `fallbackMegabytes` as at start-up. Answers the size obtained, 0 for
  // none; a table that was not deferred stays as it is.
  int allocate_deferred(int fallbackMegabytes);
  void release();
  // Empty entries, and the ages counted afresh.
  void clear();
  // A new game counts its searches from the start again; its table may keep the
  // entries of the last game.
  void restart_age();
  // Every search, whatever position it was given: the next age, and the store count
  // from zero. Positions of one game searched in turn get ages of their own, so the
  // entries of earlier moves are the first to give way.
  void new_search();
  uint16_t age() const;
  int hashfull() const;

  bool probe(Key key, HashEntry& entry) const;
  // `score` arrives in stored form; a move of 0 keeps the move already stored for
  // the position.
  void store(Key key, int bound, int score, Move move, int depth, int staticEval);
};

// What a node learns from its probe: the entry, and its score as seen from the
// node's ply.
struct TableHit {
  HashEntry entry;
  bool found = false;
  bool hasValue = false;  // a real bound with a score, not a re-stored move
  int score = 0;

  void probe(const TranspositionTable& table, Key key, int ply);
  // The stored bound settles the node against beta.
  bool bound_cuts(int beta) const {
    return ((entry.bound & BOUND_LOWER) && score >= beta) || ((entry.bound & BOUND_UPPER) && score < beta);
  }
  bool cuts(int depth, int beta) const { return hasValue && entry.depth >= depth && bound_cuts(beta); }
};
