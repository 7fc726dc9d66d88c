#include <algorithm>
#include <cinttypes>

#include "book/book.h"
#include "book/book_store.h"
#include "book/book_tools.h"
#include "platform/platform.h"
#include "search/score.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/tt.h"

namespace classic {
namespace {
constexpr int ScoringDepth = 30;
// The ply at which the walk reports its progress.
constexpr int ProgressPly = 8;

struct ScoringWalk {
  BookCache& cache;
  uint64_t startMs;
  uint64_t nodes = 0;
};

// Whole elapsed seconds, and a per-second rate that stays 0 in the first second.
uint64_t seconds_since(uint64_t startMs) { return (now_ms() - startMs) / 1000; }
uint64_t per_second(uint64_t count, uint64_t seconds) { return seconds ? count / seconds : 0; }

void report_progress(const ScoringWalk& walk, int depth) {
  uint64_t seconds = seconds_since(walk.startMs);
  printf("depth = %d, KNodes = %d, knps = %d, time: %u\n", depth, int(walk.nodes / 1000),
         int(per_second(walk.nodes, seconds) / 1000), unsigned(seconds / 60));
}

int score_book(ScoringWalk& walk, Position& pos, int depth, int ply);

// Scores the run of items of the position's key that starts at `first`; false when
// none of them is legal here.
bool score_book_moves(ScoringWalk& walk, Position& pos, int first, int depth, int ply, int& best) {
  BookCache& cache = walk.cache;
  const Key key = pos.HashKey;
  bool anyLegal = false;
  for (int i = first; i < cache.count && cache.items[i].key == key; i++) {
    const Move move = cache.items[i].move;
    if (!legal_book_move(pos, move)) {
      cache.items[i].score = IllegalBookScore;
      continue;
    }
    make_move(pos, move, ply);
    int v = -score_book(walk, pos, depth - 1, ply + 1);
    unmake_move(pos, move, ply);
    cache.items[i].score = int16_t(v);
    best = std::max(best, v);
    anyLegal = true;
  }
  return anyLegal;
}

// Negamax over the book tree: every book move of the position is played and
// scored by the walk below it; positions outside the book, or too deep, get a
// quiescence search. Each item keeps the last score it was given.
int score_book(ScoringWalk& walk, Position& pos, int depth, int ply) {
  walk.nodes++;
  if (ply == ProgressPly) report_progress(walk, depth);
  if (depth > 0 && ply < 100) {
    if (is_draw(pos)) return 0;
    if (int first = cache_find_first(walk.cache, pos.HashKey); first >= 0) {
      int best = -SCORE_INFINITE;
      if (score_book_moves(walk, pos, first, depth, ply, best)) return best;
    }
  }
  return quiesce(pos, -SCORE_INFINITE, SCORE_INFINITE, 0, ply, true);
}
}  // namespace

bool score_book_file(const Position& start, const char* bookPath) {
  for (auto& n : Search.nodes) n.count.store(0, std::memory_order_relaxed);
  const uint64_t startMs = now_ms();
  BookCache cache;
  if (!cache_init(cache)) {
    report_cache_out_of_memory();
    return false;
  }
  // The walk's quiescence searches read the table. A book read only in part would
  // lose its other moves when written back.
  allocate_tables();
  if (load_book(cache, bookPath) == BookLoad::Failed || !TT.slots) {
    report_book_not_written(bookPath);
    cache_free(cache);
    return false;
  }
  clear_hash_tables();
  Position pos = start;
  pos.ThreadSlot = 0;
  Search.rootSide = pos.SideToMove;
  ScoringWalk walk{cache, startMs};
  score_book(walk, pos, ScoringDepth, 1);

  const uint64_t nodes = total_nodes(), seconds = seconds_since(startMs);
  printf("\n\nnodes = %" PRIu64 "\n", nodes);
  printf("seconds = %" PRIu64 ", nps = %" PRIu64 "\n", seconds, per_second(nodes, seconds));
  bool written = write_book(cache, bookPath);
  if (written) printf("book score finished.. \n");
  cache_free(cache);
  return written;
}

void sbook_command(const Position& pos) { score_book_file(pos, BookConfig.fileName.c_str()); }
}  // namespace classic
