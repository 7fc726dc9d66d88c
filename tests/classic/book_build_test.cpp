// Building the book from PGN games, adding to it, and the book cache.
#include <filesystem>
#include <regex>

#include "board/san.h"
#include "book/book_cache.h"
#include "book/book_probe.h"
#include "book/book_store.h"
#include "book/book_tools.h"
#include "book_support.h"

using namespace classic;

namespace {

// 32 half-moves, every position new.
const char* const LongGame =
    "[Event \"Long\"]\n[Result \"1-0\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3\n"
    "O-O 9. h3 Nb8 10. d4 Nbd7 11. c4 c6 12. cxb5 axb5 13. Nc3 Bb7 14. Bg5 b4 15.\n"
    "Nb1 h6 16. Bh4 c5 1-0\n\n";

std::string times(int n, const std::string& text) {
  std::string all;
  for (int i = 0; i < n; i++) all += text;
  return all;
}

std::string game(const std::string& moves, const std::string& tags = "[Event \"?\"]\n") {
  return tags + "\n" + moves + "\n\n";
}

// The position before each half-move of a game, with the move, read the way the
// builder reads them.
std::vector<std::pair<Key, Move>> pairs_of(const std::vector<const char*>& sanMoves) {
  std::vector<std::pair<Key, Move>> pairs;
  Position pos = position_from(StartFen);
  for (const char* text : sanMoves) {
    Move m = read_san(pos, text);
    EXPECT_NE(m, 0u) << text;
    pairs.emplace_back(pos.HashKey, m);
    make_move(pos, m, 1);
  }
  return pairs;
}

const BookEntry* find(const std::vector<BookEntry>& book, Key key, Move move) {
  for (const BookEntry& e : book)
    if (e.key == key && e.move == move) return &e;
  return nullptr;
}

class BookBuild : public BookTest {
 protected:
  // Builds the book from the PGN text into a fresh cache; returns the output.
  std::string build(const std::string& pgn, bool loadFirst = false) {
    write_text(path("games.pgn"), pgn);
    BookCache cache;
    EXPECT_TRUE(cache_init(cache));
    testing::internal::CaptureStdout();
    if (loadFirst) load_book(cache, BookConfig.fileName.c_str());
    built = build_book(cache, path("games.pgn").c_str(), BookConfig.fileName.c_str());
    cache_free(cache);
    return testing::internal::GetCapturedStdout();
  }
  std::vector<BookEntry> book() { return read_book_records(BookConfig.fileName); }

  bool built = false;
};

TEST_F(BookBuild, FirstTwentyNineHalfMovesSeenFourTimes) {
  const std::string pgn = times(4, LongGame) + times(3, game("1. d4 d5 *")) +
                          times(5, game("1. Nf3 Nf6 1/2-1/2", "[FEN \"" + std::string(StartFen) + "\"]\n"));
  const std::string out = build(pgn);
  ASSERT_TRUE(built);
  EXPECT_NE(out.find("PGN"), 0u);
  EXPECT_NE(out.find("\n\ntotal games: 12\nmove errors: 0\n\n\nsorting... cache entry size = 31\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("\ntotal moves saved = 29\n\nmake book finished!\n"), std::string::npos) << out;

  const std::vector<BookEntry> records = book();
  ASSERT_EQ(records.size(), 30u);
  EXPECT_EQ(records[0].key, 0u);
  EXPECT_EQ(records[0].move, 0u);
  for (size_t i = 1; i < records.size(); i++) {
    EXPECT_LT(records[i - 1].key, records[i].key);
    EXPECT_EQ(records[i].count, 3);
    EXPECT_EQ(records[i].score, 0);
  }
  auto ruy = pairs_of({"e4",  "e5", "Nf3",  "Nc6",  "Bb5", "a6",  "Ba4", "Nf6", "O-O", "Be7",
                       "Re1", "b5", "Bb3",  "d6",   "c3",  "O-O", "h3",  "Nb8", "d4",  "Nbd7",
                       "c4",  "c6", "cxb5", "axb5", "Nc3", "Bb7", "Bg5", "b4",  "Nb1", "h6"});
  EXPECT_NE(find(records, ruy[28].first, ruy[28].second), nullptr);  // half-move 29
  EXPECT_EQ(find(records, ruy[29].first, ruy[29].second), nullptr);  // half-move 30
  Position start = position_from(StartFen);
  EXPECT_EQ(find(records, start.HashKey, move_of(start, "d2d4")), nullptr);  // seen three times only
  EXPECT_EQ(find(records, start.HashKey, move_of(start, "g1f3")), nullptr);  // from the FEN games

  EXPECT_EQ(probe_book(start.HashKey).move, move_of(start, "e2e4"));
}

TEST_F(BookBuild, CommentsVariationsAndNumbersAreSkipped) {
  const std::string out = build(times(4, game("1. e4 {best by test} e5 *")) + times(4, game("1. e4 (1. d4 d5) e5 *")) +
                                times(4, game("1. e4 e5 2. {a (nested) note} Nf3 2... {x} {y z} Nc6 *")));
  EXPECT_NE(out.find("move errors: 0\n"), std::string::npos) << out;
  const std::vector<BookEntry> records = book();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0].key, 0u);
  for (auto [key, move] : pairs_of({"e4", "e5", "Nf3", "Nc6"})) EXPECT_NE(find(records, key, move), nullptr);
}

TEST_F(BookBuild, BrokenMovesAreCountedAndReadingGoesOn) {
  const std::string longLine = "1. e4 " + std::string(3000, 'x') + " e5 *";
  const std::string out =
      build(game("1. e4 Zz9 e5 *") + game(longLine) + game("1. e4 e5 2. Ke3 *") + times(4, game("1. d4 d5 2. c4 *")));
  EXPECT_NE(out.find("total games: 7\nmove errors: 3\n"), std::string::npos) << out;
  auto pairs = pairs_of({"d4", "d5", "c4"});
  const std::vector<BookEntry> records = book();
  EXPECT_EQ(records.size(), 4u);
  for (auto [key, move] : pairs) EXPECT_NE(find(records, key, move), nullptr);
}

TEST_F(BookBuild, AddingKeepsCountsAndScores) {
  Position start = position_from(StartFen);
  const Move e4 = move_of(start, "e2e4"), c4 = move_of(start, "c2c4");
  write_book_records(BookConfig.fileName,
                     {book_entry(0, 0, 0), book_entry(start.HashKey, e4, 5, 17), book_entry(start.HashKey, c4, 3, -9)});
  build(game("1. e4 *") + times(4, game("1. d4 *")), true);
  ASSERT_TRUE(built);
  const std::vector<BookEntry> records = book();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].key, 0u);
  EXPECT_EQ(records[1].move, e4);
  EXPECT_EQ(records[1].count, 6);
  EXPECT_EQ(records[1].score, 17);
  EXPECT_EQ(records[2].count, 3);  // d4 and c4, in either order
  EXPECT_EQ(records[3].count, 3);
  EXPECT_NE(find(records, start.HashKey, c4), nullptr);
  EXPECT_EQ(find(records, start.HashKey, c4)->score, -9);
}

TEST_F(BookBuild, FailedWriteLeavesTheOldBook) {
  write_book_records(BookConfig.fileName, {book_entry(0, 0, 0), book_entry(1, 2, 3)});
  std::filesystem::create_directory(BookConfig.fileName + ".tmp");  // the new book cannot be written
  const std::string out = build(times(4, game("1. e4 *")));
  EXPECT_FALSE(built);
  EXPECT_EQ(out.find("make book finished!"), std::string::npos);
  EXPECT_NE(out.find("error: book file " + BookConfig.fileName + " not written\n"), std::string::npos) << out;
  EXPECT_EQ(book().size(), 2u);

  std::filesystem::remove(BookConfig.fileName + ".tmp");
  std::filesystem::remove(BookConfig.fileName);
  std::filesystem::create_directory(BookConfig.fileName);  // nothing can be renamed onto it
  build(times(4, game("1. e4 *")));
  EXPECT_FALSE(built);
  EXPECT_FALSE(std::filesystem::exists(BookConfig.fileName + ".tmp"));
}

TEST_F(BookBuild, MissingPgnWritesNothing) {
  BookCache cache;
  ASSERT_TRUE(cache_init(cache));
  EXPECT_FALSE(build_book(cache, path("none.pgn").c_str(), BookConfig.fileName.c_str()));
  cache_free(cache);
  EXPECT_FALSE(std::filesystem::exists(BookConfig.fileName));
}

TEST(BookCache, GrowsAndFindsEveryPair) {
  BookCache cache;
  ASSERT_TRUE(cache_init(cache));
  EXPECT_EQ(cache.capacity, 1);
  EXPECT_EQ(cache.mask, 1u);
  constexpr int Pairs = 300000;
  // Three moves to a position, as in a real book.
  auto key_of = [](int i) { return Key(i / 3 + 1) * 0x9E3779B97F4A7C15ull; };
  for (int i = 0; i < Pairs; i++) ASSERT_EQ(cache_add(cache, key_of(i), Move(i)), i);
  for (int i = 0; i < Pairs; i++) ASSERT_EQ(cache_add(cache, key_of(i), Move(i)), i);
  EXPECT_EQ(cache.count, Pairs);
  EXPECT_EQ(cache.capacity, 1 << 19);
  EXPECT_EQ(cache.mask, (1u << 20) - 1);
  EXPECT_EQ(cache.megabytes, 16);
  for (int i = 0; i < Pairs; i++) ASSERT_EQ(cache.items[i].count, 1);
  cache_sort(cache);
  for (int i : {0, 3, Pairs - 1}) {
    int first = cache_find_first(cache, key_of(i));
    ASSERT_GE(first, 0);
    EXPECT_EQ(cache.items[first].key, key_of(i));
    EXPECT_TRUE(first == 0 || cache.items[first - 1].key < key_of(i));
  }
  EXPECT_EQ(cache_find_first(cache, 12345), -1);
  cache_free(cache);
  EXPECT_EQ(cache.items, nullptr);
}

// A damaged or doctored book can carry the largest count there is; adding games to
// it must not wrap the count round into a negative one that drops the move.
TEST(BookCache, CountStopsAtTheLargestValue) {
  BookCache cache;
  ASSERT_TRUE(cache_init(cache));
  int item = cache_add(cache, 42, 7);
  cache.items[item].count = INT32_MAX;
  EXPECT_EQ(cache_add(cache, 42, 7), item);
  EXPECT_EQ(cache.items[item].count, INT32_MAX);
  cache_free(cache);
}

}  // namespace
