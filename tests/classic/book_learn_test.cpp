// The learning file: appending, reading back, its capacity, and when the root
// search may add to it.
#include <filesystem>

#include "book/book.h"
#include "book/learn.h"
#include "book_support.h"

using namespace classic;

namespace {

using BookLearn = BookTest;

TEST_F(BookLearn, AppendAndReadBackFirstRecordWins) {
  EXPECT_EQ(read_learn(42).move, 0u);  // no file yet
  ASSERT_TRUE(append_learn(42, 1001, -17));
  ASSERT_TRUE(append_learn(7, 2002, 5));
  ASSERT_TRUE(append_learn(42, 3003, 30));
  BookHit hit = read_learn(42);
  EXPECT_EQ(hit.move, 1001u);
  EXPECT_EQ(hit.score, -17);
  EXPECT_EQ(read_learn(7).move, 2002u);
  EXPECT_EQ(read_learn(8).move, 0u);
  std::vector<BookEntry> records = read_book_records(LearnFileName);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].count, 1);
  EXPECT_EQ(records[0].score, -17);

  BoardConfig.debugInfo = true;
  testing::internal::CaptureStdout();
  read_learn(7);
  read_learn(8);
  append_learn(9, 4004, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "info string read book learn found entry index = 2 / 3\n"
            "info string no book learn move found\n"
            "info string book learn size = 4 / 100000\n");
}

TEST_F(BookLearn, FullFileTakesNoMoreRecords) {
  write_book_records(LearnFileName, std::vector<BookEntry>(LearnCapacity - 2, book_entry(5, 77, 1)));
  EXPECT_TRUE(append_learn(6, 88, 0));
  const auto full = std::filesystem::file_size(LearnFileName);
  EXPECT_EQ(full, uint64_t(LearnCapacity - 1) * BookEntrySize);
  EXPECT_FALSE(append_learn(6, 99, 0));
  EXPECT_EQ(std::filesystem::file_size(LearnFileName), full);
  EXPECT_EQ(read_learn(6).move, 88u);
}

TEST_F(BookLearn, TornRecordIsCompletedBeforeAppending) {
  write_book_records(LearnFileName, {book_entry(5, 77, 1)});
  std::ofstream(LearnFileName, std::ios::binary | std::ios::app) << "torn";
  ASSERT_TRUE(append_learn(6, 88, 3));
  EXPECT_EQ(std::filesystem::file_size(LearnFileName), 3u * BookEntrySize);
  EXPECT_EQ(read_learn(6).move, 88u);
  EXPECT_EQ(read_learn(5).move, 77u);
}

TEST_F(BookLearn, RootLearnsOnlyDeepBookPhaseResults) {
  Position pos = after_moves({"e2e4"});
  const Move best = move_of(pos, "e7e5");
  auto learned = [&] { return read_learn(pos.HashKey).move == best; };
  learn_root_result(pos, best, 30, 19);  // too shallow
  learn_root_result(pos, best, 61, 20);  // score above BookMovesScore
  learn_root_result(pos, best, -61, 25);
  learn_root_result(pos, 0, 0, 25);  // no move to learn
  BookConfig.learn = false;
  learn_root_result(pos, best, 0, 25);
  BookConfig.learn = true;
  BookConfig.gameFromStart = false;
  learn_root_result(pos, best, 0, 25);
  BookConfig.gameFromStart = true;
  Time.infinite = true;
  learn_root_result(pos, best, 0, 25);
  Time.infinite = false;
  Position late = pos;
  late.GamePly = 31;
  learn_root_result(late, best, 0, 25);
  EXPECT_FALSE(std::filesystem::exists(LearnFileName));

  learn_root_result(pos, best, -60, 20);
  EXPECT_TRUE(learned());
  EXPECT_EQ(read_learn(pos.HashKey).score, -60);
}

}  // namespace
