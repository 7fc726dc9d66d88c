#include "book/book_probe.h"

#include <algorithm>
#include <cstdlib>

#include "board/movetext.h"
#include "book/book.h"
#include "book/book_file.h"

namespace classic {
namespace {
constexpr int MaxCandidates = 255;

struct Candidates {
  BookEntry entries[MaxCandidates];
  int count = 0;
};

bool passes_score_filter(const BookEntry& entry) {
  int score = entry.score;
  return (score < 0 ? -score : score) <= BookConfig.movesScore;
}

void collect_candidates(BookFile& book, Key key, Candidates& found) {
  BookEntry entry;
  for (int index = find_first_entry(book, key); index >= 0 && index < book.records; index++) {
    if (!read_book_entry(book, index, entry) || entry.key != key) break;
    if (passes_score_filter(entry) && found.count < MaxCandidates) found.entries[found.count++] = entry;
  }
}

void list_candidates(const Candidates& found) {
  printf("info string book moves\n");
  for (int k = 0; k < found.count; k++) {
    const BookEntry& e = found.entries[k];
    printf("info string %d.\t", k + 1);
    print_move(e.move);
    printf("\t%d\t%d\n", e.count, e.score);
  }
}

// The index of the chosen candidate, or -1 for a style that chooses nothing.
int choose(int n) {
  const bool tell = BookConfig.listMoves;
  switch (BookConfig.style) {
    case 1:
      if (tell) printf("info string book move choiced best\n");
      return 0;
    case 2: {
      // Only the two most played moves: variety without the side lines.
      int choice = rand() % std::min(n, 2);
      if (tell) printf("info string book move choiced variety = %d/%d\n", choice + 1, 3);
      return choice;
    }
    case 3: {
      int choice = rand() % n;
      if (tell) printf("info string book move choiced random = %d/%d\n", choice + 1, n);
      return choice;
    }
    default: return -1;
  }
}
}  // namespace

BookHit probe_book(Key key) {
  BookFile book;
  if (!open_book(book, BookConfig.fileName.c_str())) return {};
  Candidates found;
  collect_candidates(book, key, found);
  close_book(book);
  if (found.count == 0) {
    book_debug("info string no book moves found!\n");
    return {};
  }
  std::stable_sort(found.entries, found.entries + found.count,
                   [](const BookEntry& a, const BookEntry& b) { return a.count > b.count; });
  if (BookConfig.listMoves) list_candidates(found);
  int choice = choose(found.count);
  if (choice < 0) return {};
  return {found.entries[choice].move, found.entries[choice].score};
}
}  // namespace classic
