// The bench: its summary block, a shortened run of all fifteen tests, and the
// solved check against separate searches of the same positions.

#include "board/san.h"
#include "tools/bench.h"
#include "tools_support.h"

using namespace classic;

namespace {

std::string summary_of(const BenchTotals& totals) {
  testing::internal::CaptureStdout();
  print_bench_summary(totals);
  return testing::internal::GetCapturedStdout();
}

TEST(BenchSummary, SpeedCountsWholeSecondsOnly) {
  BenchTotals totals;
  totals.nodes = 5000;
  totals.solved = BenchTestCount;
  totals.timeMs = 999;
  EXPECT_EQ(summary_of(totals),
            "\ntime\t: 999 ms \nsolved\t: 15 / 15\nnodes\t: 5000\nnps\t: 0\n\n\nbench test finished!\n");
  totals.timeMs = 1999;
  EXPECT_NE(summary_of(totals).find("\nnps\t: 5000\n\n"), std::string::npos);
  totals.timeMs = 4000;
  totals.nodes = 10000000000ULL;  // beyond 32 bits
  EXPECT_NE(summary_of(totals).find("\nnodes\t: 10000000000\nnps\t: 2500000000\n\n"), std::string::npos);
}

TEST(BenchSummary, FailedTestsListedInOrderAfterTheSummary) {
  BenchTotals totals;
  totals.timeMs = 2500;
  totals.nodes = 700;
  totals.solved = 0;
  for (bool& f : totals.failed) f = true;
  totals.failed[3] = false;
  std::string out = summary_of(totals);
  EXPECT_NE(out.find("solved\t: 0 / 15\n"), std::string::npos);
  std::string expected = "\nnps\t: 350\n\n";
  for (int i = 0; i < BenchTestCount; i++)
    if (i != 3) expected += std::string("FEN: ") + BenchTests[i].epd + "\n";
  expected += "\nbench test finished!\n";
  EXPECT_EQ(out.substr(out.find("\nnps")), expected);
}

TEST(BenchTests, EveryLineIsAPositionWithItsExpectedMove) {
  for (const BenchTest& test : BenchTests) {
    Position pos = position_from(test.epd);
    EXPECT_NE(read_san(pos, test.bestMove), 0u) << test.epd;
    // The stored line names the same move, a check sign aside.
    EXPECT_NE(std::string(test.epd).find(std::string(" bm ") + test.bestMove), std::string::npos) << test.epd;
  }
}

using Bench = ToolsTest;

TEST_F(Bench, ShortRunPrintsEveryTestAndTheSummary) {
  BookConfig.learn = true;
  Position pos = position_from(StartFen);
  testing::internal::CaptureStdout();
  BenchTotals totals = run_bench(pos, 2);
  std::string out = testing::internal::GetCapturedStdout();

  EXPECT_EQ(out.rfind("start bench test!\n", 0), 0u) << out.substr(0, 200);
  const std::string rule = "----------------------------------------------\n";
  for (int i = 0; i < BenchTestCount; i++) {
    std::string header = rule + "test nr. " + std::to_string(i + 1) + "\nFEN: " + BenchTests[i].epd + "\n" + rule;
    EXPECT_NE(out.find(header), std::string::npos) << header;
  }
  ASSERT_LT(totals.timeMs, 1000u) << "a depth-2 run should take well under a second";
  std::string summary = "\ntime\t: " + std::to_string(totals.timeMs) +
                        " ms \nsolved\t: " + std::to_string(totals.solved) +
                        " / 15\nnodes\t: " + std::to_string(totals.nodes) + "\nnps\t: 0\n\n";
  size_t at = out.find(summary);
  ASSERT_NE(at, std::string::npos) << out.substr(out.size() > 600 ? out.size() - 600 : 0);
  std::string tail = out.substr(at + summary.size());
  int failed = 0;
  for (bool f : totals.failed) failed += f;
  EXPECT_EQ(failed, BenchTestCount - totals.solved);
  size_t fenLines = 0;
  for (size_t p = tail.find("FEN: "); p != std::string::npos; p = tail.find("FEN: ", p + 1)) fenLines++;
  EXPECT_EQ(fenLines, size_t(failed));
  EXPECT_TRUE(tail.ends_with("\nbench test finished!\n"));

  EXPECT_GT(totals.nodes, 0u);
  EXPECT_FALSE(BookConfig.learn);
  EXPECT_EQ(pos.HashKey, position_from(BenchTests[BenchTestCount - 1].epd).HashKey);
  EXPECT_EQ(Time.depthLimit, 2);
  EXPECT_EQ(Time.side[White].time, 36000000);
}

TEST_F(Bench, SolvedWhenTheSearchFindsTheExpectedMove) {
  Position pos = position_from(StartFen);
  testing::internal::CaptureStdout();
  BenchTotals first = run_bench(pos, 3);
  BenchTotals second = run_bench(pos, 3);
  testing::internal::GetCapturedStdout();
  // From cleared tables the search repeats itself exactly: the node total is a signature.
  EXPECT_EQ(first.nodes, second.nodes);
  for (int i = 0; i < BenchTestCount; i++) {
    clear_hash_tables();
    Position test = position_from(BenchTests[i].epd);
    SearchResult r = search_to_depth(BenchTests[i].epd, 3);
    bool found = r.best == read_san(test, BenchTests[i].bestMove);
    EXPECT_EQ(first.failed[i], !found) << BenchTests[i].epd;
    EXPECT_EQ(second.failed[i], first.failed[i]);
  }
}

}  // namespace
