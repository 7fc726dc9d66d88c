// Choosing a move from the book file, its use at the root, and damaged books.
#include <cstdlib>
#include <set>

#include "book/book.h"
#include "book/book_probe.h"
#include "book/learn.h"
#include "book_support.h"

using namespace classic;

namespace {

class BookProbe : public BookTest {
 protected:
  void SetUp() override {
    BookTest::SetUp();
    start = position_from(StartFen);
    e4 = move_of(start, "e2e4");
    d4 = move_of(start, "d2d4");
    c4 = move_of(start, "c2c4");
    nf3 = move_of(start, "g1f3");
  }
  // A book with the zero record, a record before and after the start position's
  // key, and the given records of the start position.
  void write_start_book(std::vector<BookEntry> moves) {
    std::vector<BookEntry> records = {book_entry(0, 0, 0), book_entry(start.HashKey - 1, e4, 9)};
    records.insert(records.end(), moves.begin(), moves.end());
    records.push_back(book_entry(start.HashKey + 1, d4, 9));
    write_book_records(BookConfig.fileName, records);
  }
  Move probe() { return probe_book(start.HashKey).move; }
  std::set<Move> moves_chosen(int probes) {
    std::set<Move> chosen;
    for (int i = 0; i < probes; i++) chosen.insert(probe());
    return chosen;
  }

  Position start;
  Move e4 = 0, d4 = 0, c4 = 0, nf3 = 0;
};

TEST_F(BookProbe, StylesChooseAmongTheMostPlayed) {
  write_start_book({book_entry(start.HashKey, d4, 7), book_entry(start.HashKey, e4, 9),
                    book_entry(start.HashKey, c4, 7), book_entry(start.HashKey, nf3, 3)});
  srand(1);
  BookConfig.style = 1;
  EXPECT_EQ(moves_chosen(20), std::set<Move>{e4});
  BookConfig.style = 2;  // the two most played; d4 came before c4 among the equal counts
  EXPECT_EQ(moves_chosen(200), (std::set<Move>{e4, d4}));
  BookConfig.style = 3;
  EXPECT_EQ(moves_chosen(400), (std::set<Move>{e4, d4, c4, nf3}));
  BookConfig.style = 4;
  EXPECT_EQ(probe(), 0u);

  write_start_book({book_entry(start.HashKey, c4, 5)});
  BookConfig.style = 2;
  EXPECT_EQ(moves_chosen(20), std::set<Move>{c4});
}

TEST_F(BookProbe, ScoreFilterAndListing) {
  write_start_book({book_entry(start.HashKey, e4, 9, 61), book_entry(start.HashKey, d4, 8, -60),
                    book_entry(start.HashKey, c4, 7, 0), book_entry(start.HashKey, nf3, 6, -32100)});
  EXPECT_EQ(probe(), d4);  // e4 scores above 60
  BookConfig.movesScore = 0;
  EXPECT_EQ(probe(), c4);
  BookConfig.movesScore = 80;
  EXPECT_EQ(probe(), e4);

  BookConfig.listMoves = true;
  testing::internal::CaptureStdout();
  BookHit hit = probe_book(start.HashKey);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "info string book moves\n"
            "info string 1.\te2e4 \t9\t61\n"
            "info string 2.\td2d4 \t8\t-60\n"
            "info string 3.\tc2c4 \t7\t0\n"
            "info string book move choiced best\n");
  EXPECT_EQ(hit.score, 61);

  BookConfig.style = 3;
  testing::internal::CaptureStdout();
  probe();
  EXPECT_NE(testing::internal::GetCapturedStdout().find("info string book move choiced random = "), std::string::npos);
}

// A damaged book can hold any word; listing it must not read past the letter tables.
TEST_F(BookProbe, ListingOfAWordThatIsNoMove) {
  write_start_book({book_entry(start.HashKey, 0xFFFFFFFFu, 5)});
  BookConfig.listMoves = true;
  testing::internal::CaptureStdout();
  probe_book(start.HashKey);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("info string 1.\th8h8 \t5\t0\n"), std::string::npos);
}

TEST_F(BookProbe, DiagnosticsOnlyWhenDebugging) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(probe(), 0u);  // no book file at all
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  BoardConfig.debugInfo = true;
  testing::internal::CaptureStdout();
  probe();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "info string error: open book file read!\n");

  write_start_book({});
  testing::internal::CaptureStdout();
  probe();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "info string book file = " + BookConfig.fileName +
                                                        "\ninfo string book size = 2\n"
                                                        "info string no book moves found!\n");
}

TEST_F(BookProbe, KeysAtTheEdgesOfTheFile) {
  write_book_records(BookConfig.fileName, {book_entry(0, 0, 0)});
  EXPECT_EQ(probe(), 0u);
  // The wanted key is the last record's, or lies beyond every key.
  write_book_records(BookConfig.fileName,
                     {book_entry(0, 0, 0), book_entry(1, d4, 4), book_entry(start.HashKey, e4, 3)});
  EXPECT_EQ(probe(), e4);
  EXPECT_EQ(probe_book(start.HashKey + 1).move, 0u);
  // At most 255 moves of a position are looked at.
  std::vector<BookEntry> many = {book_entry(0, 0, 0)};
  for (int i = 0; i < 255; i++) many.push_back(book_entry(start.HashKey, d4, 5));
  many.push_back(book_entry(start.HashKey, e4, 100));
  write_book_records(BookConfig.fileName, many);
  EXPECT_EQ(probe(), d4);
}

TEST_F(BookProbe, DamagedFilesAnswerSafely) {
  write_start_book({book_entry(start.HashKey, e4, 5)});
  // A torn last record is left out.
  std::ofstream(BookConfig.fileName, std::ios::binary | std::ios::app) << "partial";
  EXPECT_EQ(probe(), e4);
  // Empty, shorter than one record, and keys out of order: no move or some move,
  // but never a crash.
  for (const char* bytes : {"", "0123456789"}) {
    write_text(BookConfig.fileName, bytes);
    EXPECT_EQ(probe(), 0u);
  }
  std::vector<BookEntry> shuffled;
  for (uint64_t k = 40; k > 0; k--) shuffled.push_back(book_entry(k * 0x9E3779B97F4A7C15ull, Move(k * 77777), int(k)));
  write_book_records(BookConfig.fileName, shuffled);
  for (const BookEntry& e : shuffled) probe_book(e.key);
  // Nonsense move words in the book are never answered at the root.
  write_start_book(
      {book_entry(start.HashKey, 0xFFFFFFFFu, 9), book_entry(start.HashKey, encode_move(E2, E5, WhitePawn), 8)});
  BookConfig.style = 3;
  for (int i = 0; i < 20; i++) EXPECT_EQ(book_root_move(start), 0u);
}

TEST_F(BookProbe, RootUsesTheBookOnlyInBookGames) {
  write_start_book({book_entry(start.HashKey, e4, 5)});
  EXPECT_EQ(book_root_move(start), e4);
  auto refused = [&](auto change) {
    ClassicConfigGuard config;
    BoardConfigGuard board;
    change();
    return book_root_move(start) == 0;
  };
  EXPECT_TRUE(refused([] { BookConfig.gameFromStart = false; }));
  EXPECT_TRUE(refused([] { BookConfig.ownBook = false; }));
  EXPECT_TRUE(refused([] { BoardConfig.chess960 = true; }));
  EXPECT_TRUE(refused([] { Time.infinite = true; }));
  Position late = start;
  late.GamePly = 31;
  EXPECT_EQ(book_root_move(late), 0u);
  late.GamePly = 30;
  EXPECT_EQ(book_root_move(late), e4);
}

TEST_F(BookProbe, LearningFileAnswersWhenTheBookCannot) {
  const Move illegal = encode_move(E2, E5, WhitePawn);
  write_start_book({book_entry(start.HashKey, illegal, 5)});
  ASSERT_TRUE(append_learn(start.HashKey, d4, 12));
  EXPECT_EQ(book_root_move(start), d4);
  BookConfig.learn = false;
  EXPECT_EQ(book_root_move(start), 0u);
  BookConfig.learn = true;
  // A learned move that is not legal here is refused as well.
  std::filesystem::remove(LearnFileName);
  ASSERT_TRUE(append_learn(start.HashKey, illegal, 0));
  EXPECT_EQ(book_root_move(start), 0u);
}

}  // namespace
