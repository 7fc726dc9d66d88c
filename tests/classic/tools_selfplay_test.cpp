// Self-play: how a game stands, the draw rules of self-play, the start-position
// file, the results line and short matches with known outcomes.
#include "board/movetext.h"
#include "tools/selfplay.h"
#include "tools_support.h"

using namespace classic;

namespace {

const char* const WhiteMatesInOne = "6k1/5ppp/8/8/8/8/8/R5K1 w - -";
const char* const BlackMatesInOne = "r5k1/8/8/8/8/8/5PPP/6K1 b - -";
const char* const Stalemated = "7k/5Q2/6K1/8/8/8/8/8 b - -";

void play(Position& pos, const char* move) {
  Move m = parse_move(pos, move);
  ASSERT_NE(m, 0u) << move;
  make_move(pos, m, 1);
}

TEST(GameState, MateStalemateAndPlayOn) {
  EXPECT_EQ(game_state(position_from("R5k1/5ppp/8/8/8/8/8/6K1 b - -")), WhiteWon);
  EXPECT_EQ(game_state(position_from("6k1/8/8/8/8/8/5PPP/r5K1 w - -")), BlackWon);
  EXPECT_EQ(game_state(position_from(Stalemated)), Drawn);
  EXPECT_EQ(game_state(position_from("R3k3/8/8/8/8/8/8/4K3 b - -")), GameGoesOn);  // in check, steps aside
  EXPECT_EQ(game_state(position_from(StartFen)), GameGoesOn);
}

TEST(GameState, DrawRules) {
  EXPECT_EQ(game_state(position_from("4k3/8/8/8/8/8/8/2B1K3 w - -")), Drawn);  // bare minor piece
  Position pos = position_from(StartFen);
  const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (const char* m : shuffle) play(pos, m);
  EXPECT_EQ(game_state(pos), GameGoesOn);  // the start position stands for the second time
  for (int i = 0; i < 3; i++) play(pos, shuffle[i]);
  EXPECT_EQ(game_state(pos), GameGoesOn);
  play(pos, shuffle[3]);
  EXPECT_EQ(game_state(pos), Drawn);  // third time

  Position quiet = position_from("4k3/8/8/8/8/8/4P3/R3K3 w - -");
  quiet.Fifty = 100;
  EXPECT_EQ(game_state(quiet), Drawn);
  // Mate on the move that completes the fifty moves still wins.
  Position mated = position_from("R5k1/5ppp/8/8/8/8/8/6K1 b - -");
  mated.Fifty = 100;
  EXPECT_EQ(game_state(mated), WhiteWon);
}

TEST(JudgeMove, SixteenZeroScoresOfOneSideDrawTheGame) {
  Position pos = position_from(StartFen);
  GameCounters game;
  // White's zero scores count, not in a row; Black's do not add to them.
  for (int i = 0; i < 15; i++) {
    EXPECT_EQ(judge_move(game, pos, White, 1, 0), GameGoesOn);
    EXPECT_EQ(judge_move(game, pos, White, 1, 25), GameGoesOn);
    EXPECT_EQ(judge_move(game, pos, Black, 1, 0), GameGoesOn);
  }
  EXPECT_EQ(game.moves, 45);
  EXPECT_EQ(judge_move(game, pos, White, 1, 0), Drawn);
}

TEST(JudgeMove, FourHundredMovesDrawTheGameUnlessTheBoardDecides) {
  Position pos = position_from(StartFen);
  GameCounters game;
  for (int i = 1; i < MaxGameMoves; i++) ASSERT_EQ(judge_move(game, pos, i & 1, 1, 30), GameGoesOn);
  EXPECT_EQ(judge_move(game, pos, White, 0, 30), GameGoesOn);  // a search without a move is no move
  GameCounters last = game;
  EXPECT_EQ(judge_move(game, pos, White, 1, 30), Drawn);
  // The board decides before the counters do.
  last.zeroScores[White] = MaxZeroScores - 1;
  EXPECT_EQ(judge_move(last, position_from("R5k1/5ppp/8/8/8/8/8/6K1 b - -"), White, 1, 0), WhiteWon);
}

std::string results_line(unsigned white, unsigned draws, unsigned black, uint32_t ms, const char* end) {
  testing::internal::CaptureStdout();
  print_results(SelfPlayScore{white, draws, black}, ms, end);
  return testing::internal::GetCapturedStdout();
}

TEST(SelfPlayResults, LineValues) {
  EXPECT_EQ(results_line(6, 2, 2, 59999, "\r"),
            "results = 7.0 / 10 ( 700 ), white = 6, draw = 2, black = 2, time used: 0 min\r");
  EXPECT_EQ(results_line(0, 1, 2, 120000, "\n"),
            "results = 0.5 / 3 ( 0 ), white = 0, draw = 1, black = 2, time used: 2 min\n");
  EXPECT_EQ(results_line(1, 1, 1, 0, "\n"),
            "results = 1.5 / 3 ( 500 ), white = 1, draw = 1, black = 1, time used: 0 min\n");
  EXPECT_EQ(results_line(0, 0, 0, 0, "\n"),
            "results = 0.0 / 0 ( 0 ), white = 0, draw = 0, black = 0, time used: 0 min\n");
  EXPECT_EQ(score_per_mille(SelfPlayScore{2, 0, 1}), 666);  // truncated
}

using SelfPlayFile = ToolsTest;

std::vector<std::string> load_quietly(const char* path, std::string* out = nullptr) {
  testing::internal::CaptureStdout();
  std::vector<std::string> lines = load_selfplay_positions(path);
  std::string printed = testing::internal::GetCapturedStdout();
  if (out) *out = printed;
  return lines;
}

TEST_F(SelfPlayFile, StoresOnlyUsableLines) {
  std::string longLine = std::string(WhiteMatesInOne) + " c0 \"" + std::string(300, 'x') + "\";";
  write_tool_file("book.epd", std::string(StartFen) + "\r\n\n  " + WhiteMatesInOne + "\n" + " \n" + longLine + "\n" +
                                  "not a position\n" + Stalemated + " bm Kh7;");
  std::string out;
  std::vector<std::string> lines = load_quietly("book.epd", &out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], StartFen);
  EXPECT_EQ(lines[1], longLine.substr(0, 255));  // the rest of a long line is no line of its own
  EXPECT_EQ(lines[2], std::string(Stalemated) + " bm Kh7;");
  EXPECT_EQ(out.rfind("loading book fens...\n", 0), 0u) << out;
  EXPECT_TRUE(out.ends_with("book fen size = 3\n\n")) << out;
}

TEST_F(SelfPlayFile, AtMostOneThousandLines) {
  std::string text;
  for (int i = 0; i < 1200; i++) text += std::string(i % 2 ? StartFen : WhiteMatesInOne) + "\n";
  write_tool_file("book.epd", text);
  std::string out;
  EXPECT_EQ(load_quietly("book.epd", &out).size(), 1000u);
  EXPECT_EQ(out, "loading book fens...\nbook fen size = 1000\n\n");
}

TEST_F(SelfPlayFile, MissingFile) {
  std::string out;
  EXPECT_TRUE(load_quietly("book.epd", &out).empty());
  EXPECT_EQ(out, "error: open book file read!\n");
}

using SelfPlay = ToolsTest;

struct Match {
  int perMille;
  std::string out;
};

Match selfplay_from(const char* fen, int games) {
  write_tool_file("book.epd", std::string(fen) + "\n");
  Position pos = position_from(StartFen);
  testing::internal::CaptureStdout();
  int perMille = selfplay(pos, games);
  return {perMille, testing::internal::GetCapturedStdout()};
}

TEST_F(SelfPlay, EveryGameFromTheOnlyLine) {
  BoardConfig.chess960 = true;
  Match m = selfplay_from(WhiteMatesInOne, 20);
  EXPECT_EQ(m.perMille, 1000);
  EXPECT_EQ(m.out,
            "\nselfplaying games...\nmax game size = 20\n\nloading book fens...\nbook fen size = 1\n\n"
            "results = 10.0 / 10 ( 1000 ), white = 10, draw = 0, black = 0, time used: 0 min\r"
            "results = 20.0 / 20 ( 1000 ), white = 20, draw = 0, black = 0, time used: 0 min\r"
            "results = 20.0 / 20 ( 1000 ), white = 20, draw = 0, black = 0, time used: 0 min\n");
  EXPECT_FALSE(BoardConfig.chess960);
  EXPECT_TRUE(BoardConfig.sequenceOutput);
  EXPECT_EQ(Time.depthLimit, 1);

  m = selfplay_from(BlackMatesInOne, 3);
  EXPECT_EQ(m.perMille, 0);
  EXPECT_TRUE(m.out.ends_with("results = 0.0 / 3 ( 0 ), white = 0, draw = 0, black = 3, time used: 0 min\n")) << m.out;
  m = selfplay_from(Stalemated, 4);
  EXPECT_EQ(m.perMille, 500);
  EXPECT_TRUE(m.out.ends_with("white = 0, draw = 4, black = 0, time used: 0 min\n")) << m.out;
}

}  // namespace
