// "sbook": scoring every book move by a walk of the book tree with quiescence
// searches at its leaves.
#include <cstdlib>

#include "book/book_probe.h"
#include "book/book_tools.h"
#include "book_support.h"
#include "eval/eval_cache.h"
#include "search/margins.h"
#include "search/search_state.h"
#include "search/tt.h"

using namespace classic;

namespace {

class BookScore : public BookTest {
 protected:
  void SetUp() override {
    BookTest::SetUp();
    static bool once = [] {
      init_search_tables();
      return allocate_eval_caches();
    }();
    ASSERT_TRUE(once);
    ASSERT_NE(TT.resize(16), ResizeResult::Failed);
  }
};

TEST_F(BookScore, LegalMovesGetTheWalkScoreIllegalOnesTheMark) {
  const Position start = position_from(StartFen);
  const Position afterE4 = after_moves({"e2e4"});
  const Position afterD4 = after_moves({"d2d4"});
  const Move e4 = move_of(start, "e2e4"), d4 = move_of(start, "d2d4");
  const Move e5 = move_of(afterE4, "e7e5"), c5 = move_of(afterE4, "c7c5");
  const Move illegal = encode_move(E2, E5, WhitePawn);
  std::vector<BookEntry> records = {book_entry(0, 0, 0),
                                    book_entry(start.HashKey, e4, 9, 33),
                                    book_entry(start.HashKey, illegal, 8),
                                    book_entry(start.HashKey, d4, 7),
                                    book_entry(afterE4.HashKey, e5, 6),
                                    book_entry(afterE4.HashKey, c5, 5),
                                    book_entry(afterD4.HashKey, 0xFFFFFFFFu, 4)};
  std::sort(records.begin(), records.end(),
            [](const BookEntry& a, const BookEntry& b) { return a.key != b.key ? a.key < b.key : a.count > b.count; });
  write_book_records(BookConfig.fileName, records);

  testing::internal::CaptureStdout();
  EXPECT_TRUE(score_book_file(start, BookConfig.fileName.c_str()));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("\n\nnodes = "), std::string::npos) << out;
  EXPECT_NE(out.find("\ntotal moves saved = 6\nbook score finished.. \n"), std::string::npos) << out;

  const std::vector<BookEntry> scored = read_book_records(BookConfig.fileName);
  ASSERT_EQ(scored.size(), records.size());
  auto score_of = [&](Key key, Move move) {
    for (const BookEntry& e : scored)
      if (e.key == key && e.move == move) return int(e.score);
    ADD_FAILURE() << "missing " << move;
    return 0;
  };
  for (size_t i = 0; i < records.size(); i++) {
    EXPECT_EQ(scored[i].key, records[i].key);  // written back in file order
    EXPECT_EQ(scored[i].count, records[i].count);
  }
  EXPECT_EQ(score_of(start.HashKey, illegal), -32100);
  EXPECT_EQ(score_of(start.HashKey, e4), -std::max(score_of(afterE4.HashKey, e5), score_of(afterE4.HashKey, c5)));
  EXPECT_LT(std::abs(score_of(afterE4.HashKey, e5)), 300);
  // d4 leads to a position whose only book move is nonsense: its score comes
  // from the quiescence search there.
  EXPECT_EQ(score_of(afterD4.HashKey, 0xFFFFFFFFu), -32100);
  EXPECT_LT(std::abs(score_of(start.HashKey, d4)), 300);

  BookConfig.movesScore = 80;
  BookConfig.style = 3;
  srand(3);
  for (int i = 0; i < 50; i++) EXPECT_NE(probe_book(start.HashKey).move, illegal);
}

}  // namespace
