// Searches of veltrix end to end: the report lines, mates, the answer without a
// search, the commands that arrive while it searches, and play at a limited
// strength.
#include <chrono>
#include <regex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "veltrix_engine.h"

namespace {

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The output of one search up to and including its "bestmove" line.
std::string search_output(VeltrixEngine& v) {
  std::string out = v.engine.read_until("bestmove ", 60000);
  return out + v.engine.read_until("\n", 60000);
}

// Every line is a search line or a current-move line, the last one of depth
// `depth` (any depth when it is 0), and the best move is legal.
std::string check_search(const std::string& out, const std::string& fen, int depth) {
  std::vector<std::string> lines = lines_of(out);
  EXPECT_GE(lines.size(), 2u) << out;
  if (lines.size() < 2) return "";
  for (size_t i = 0; i + 1 < lines.size(); i++)
    EXPECT_TRUE(is_search_line(lines[i]) || is_currmove_line(lines[i])) << "'" << lines[i] << "'";
  std::string last = lines[lines.size() - 2];
  if (depth) {
    EXPECT_EQ(last.rfind("info depth " + std::to_string(depth) + " ", 0), 0u) << last;
  }
  return checked_best_move(lines.back(), fen);
}

TEST(VeltrixGo, DepthSixWithTheFallbackEvaluation) {
  VeltrixEngine v;
  v.uci();
  v.use_fallback();
  v.engine.send("position startpos moves e2e4");
  v.engine.send("go depth 6");
  check_search(search_output(v), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -", 6);
  // The best move was made on the game position: the engine now plays white.
  EXPECT_EQ(v.sync(), "");
}

TEST(VeltrixGo, DepthSixWithTheNetwork) {
  VeltrixEngine v;
  v.uci();
  const std::string fen = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -";
  v.engine.send("position fen " + fen + " 4 4");
  v.engine.send("go depth 6");
  check_search(search_output(v), fen, 6);
}

TEST(VeltrixGo, MateScoresInMoves) {
  VeltrixEngine v;
  v.uci();
  // The network's large scores for the rook up let the search settle for a mate in
  // three at this depth; the fallback's find the shortest.
  v.use_fallback();
  v.engine.send("position fen k7/8/2K5/8/8/8/8/7R w - -");
  v.engine.send("go depth 8");
  std::string out = search_output(v);
  EXPECT_NE(out.find("info depth 8 seldepth "), std::string::npos) << out;
  std::vector<std::string> lines = lines_of(out);
  EXPECT_NE(lines[lines.size() - 2].find(" score mate 2 "), std::string::npos) << out;
  EXPECT_EQ(lines.back(), "bestmove c6b6 ");
  v.engine.send("position fen k7/7p/1K6/8/8/8/8/6R1 b - -");
  v.engine.send("go depth 6");
  lines = lines_of(search_output(v));
  EXPECT_NE(lines[lines.size() - 2].find(" score mate -1 "), std::string::npos) << lines[lines.size() - 2];
}

TEST(VeltrixGo, ASingleLegalMoveIsAnsweredAtOnce) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("position fen 1r6/8/8/8/8/8/2k5/K7 w - -");
  v.engine.send("go wtime 600000 btime 600000");
  std::vector<std::string> lines = lines_of(search_output(v));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(
      std::regex_match(lines[0], std::regex("info depth 1 seldepth 1 score cp 0 nodes 0 nps 0 time \\d+ pv a1a2 ")))
      << lines[0];
  EXPECT_EQ(lines[1], "bestmove a1a2 ");
  // Checkmated: nothing to play.
  v.engine.send("position fen 7k/6Q1/6K1/8/8/8/8/8 b - -");
  v.engine.send("go depth 5");
  lines = lines_of(search_output(v));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find(" score mate 0 "), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1], "bestmove 0000 ");
}

TEST(VeltrixGo, StopEndsAnInfiniteSearchAndIsreadyIsAnsweredAtOnce) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("position startpos");
  v.engine.send("go infinite");
  pause_ms(300);
  v.engine.send("isready");
  std::string early = v.engine.read_until("readyok\n", 2000);
  ASSERT_NE(early.find("readyok\n"), std::string::npos) << "answered while the search runs";
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << early;
  v.engine.send("stop");
  std::string out = search_output(v);
  check_search(early.substr(0, early.find("readyok\n")) + out, StartFen, 0);
  EXPECT_EQ(v.sync(), "");
}

TEST(VeltrixGo, PonderhitHandsThePonderingSearchToTheClock) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("setoption name Ponder value true");
  v.engine.send("position startpos moves e2e4");
  v.engine.send("go ponder wtime 3000 btime 3000");
  pause_ms(400);  // far beyond the 100 ms allotted: a ponder search ignores the clock
  v.engine.send("ponderhit");
  std::string out = search_output(v);
  std::vector<std::string> lines = lines_of(out);
  ASSERT_FALSE(lines.empty());
  // After "ponderhit" the answer comes with a move to ponder on.
  EXPECT_TRUE(std::regex_match(lines.back(), std::regex("bestmove [a-h][1-8][a-h][1-8] ponder [a-h][1-8][a-h][1-8] ")))
      << lines.back();
  EXPECT_EQ(v.sync(), "");
}

TEST(VeltrixGo, QuitDuringASearchEndsTheProgram) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("go infinite");
  pause_ms(200);
  v.engine.send("quit");
  std::string out = v.engine.read_to_end();
  EXPECT_EQ(out.find("bestmove"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 19), "info string exit...");
  EXPECT_EQ(v.engine.wait_exit(), 0);
}

TEST(VeltrixGo, TheEndOfInputLetsADepthSearchFinishButEndsAnInfiniteOne) {
  {
    VeltrixEngine v;
    v.uci();
    v.engine.send("go depth 5");
    v.engine.close_input();
    std::string out = v.engine.read_to_end();
    EXPECT_NE(out.find("\nbestmove "), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 19), "info string exit...");
    EXPECT_EQ(v.engine.wait_exit(), 0);
  }
  VeltrixEngine v;
  v.uci();
  v.engine.send("go infinite");
  v.engine.close_input();
  std::string out = v.engine.read_to_end();
  EXPECT_EQ(out.find("bestmove"), std::string::npos) << out;
  EXPECT_EQ(v.engine.wait_exit(), 0);
}

// A long clock less a large overhead leaves 300 ms: only a close watch on the clock,
// whatever the search is busy with, answers near them.
TEST(VeltrixGo, TheClockIsWatchedInEveryKindOfPosition) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("setoption name Move Overhead value 2700");
  for (const std::string fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                                "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 8",
                                "r3k2r/1b1nqpb1/p2ppnp1/1p4Bp/3NP2P/2N2Q2/PPP1BPP1/2KR3R w kq - 0 13",
                                "8/5k2/3p4/1p1Pp2p/pP2Pp1P/P4P1K/8/8 b - - 0 1"}) {
    v.engine.send("position fen " + fen);
    auto start = std::chrono::steady_clock::now();
    v.engine.send("go wtime 120000 btime 120000 movestogo 40");  // 3000 ms allotted
    std::vector<std::string> lines = lines_of(search_output(v));
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LE(took.count(), 1000) << fen;
    ASSERT_FALSE(lines.empty());
    checked_best_move(lines.back(), fen);
  }
}

TEST(VeltrixGo, TheClockEndsATimedSearch) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("go wtime 6000 btime 6000");  // 200 ms allotted
  std::string out = search_output(v);
  std::vector<std::string> lines = lines_of(out);
  checked_best_move(lines.back(), StartFen);
}

// A short game between two programs from a FEN, the first moving first, with the
// board core as referee: every answer must be a legal move and every line a
// search line. It ends by mate, a draw by the rules, both programs agreeing on a
// score of 1000 or more for one side three moves running, or as a draw after 200
// plies. Returns the first program's points, doubled (2 for a win).
int game_points(VeltrixEngine* program[2], const std::string go[2], const std::string& fen) {
  static const std::regex scoreField(" score (cp|mate) (-?\\d+) ");
  Position pos = position_from(fen, Dialect::Veltrix);
  std::string moves;
  int lastScore[2] = {0, 0}, winningStreak[2] = {0, 0};
  for (int ply = 0; ply < 200; ply++) {
    const int side = ply % 2;
    MoveList legal;
    generate_legal(pos, legal);
    if (legal.count == 0) return !in_check(pos) ? 1 : side == 0 ? 0 : 2;
    if (is_draw(pos, RepetitionRule::TwoEarlier)) return 1;
    VeltrixEngine& mover = *program[side];
    mover.engine.send("position fen " + fen + (moves.empty() ? "" : " moves" + moves));
    mover.engine.send("go " + go[side]);
    std::vector<std::string> lines = lines_of(search_output(mover));
    if (lines.size() < 2) ADD_FAILURE() << "no search before the answer at ply " << ply << " of " << fen << moves;
    if (lines.size() < 2) return 1;
    std::smatch m;
    for (size_t i = 0; i + 1 < lines.size(); i++) {
      EXPECT_TRUE(is_search_line(lines[i]) || is_currmove_line(lines[i])) << "'" << lines[i] << "'";
      if (std::regex_search(lines[i], m, scoreField))
        lastScore[side] = m[1] == "mate" ? (std::stoi(m[2]) > 0 ? 100000 : -100000) : std::stoi(m[2]);
    }
    const std::string text = lines.back().substr(9, lines.back().find(' ', 9) - 9);
    const Move move = parse_move(pos, text.c_str(), Dialect::Veltrix);
    if (!move) ADD_FAILURE() << "illegal answer '" << lines.back() << "' after " << fen << moves;
    if (!move) return side == 0 ? 0 : 2;
    make_move(pos, move, 1);
    moves += " " + text;
    const bool agreed = lastScore[side] >= 1000 && lastScore[1 - side] <= -1000;
    winningStreak[side] = agreed ? winningStreak[side] + 1 : 0;
    if (winningStreak[side] >= 3) return side == 0 ? 2 : 0;
  }
  return 1;
}

// At its lowest level on a fast clock the limited player answers with legal moves
// and loses clearly to the full strength of a short search: four games, two
// openings with colours swapped.
TEST(VeltrixGo, TheLowestLimitedLevelLosesClearlyToFullStrength) {
  VeltrixEngine limited, full;
  for (VeltrixEngine* v : {&limited, &full}) {
    v->uci();
    v->engine.send("setoption name Hash value 16");
  }
  limited.engine.send("setoption name UCI_LimitStrength value true");
  limited.engine.send("setoption name UCI_Elo value 1350");
  EXPECT_EQ(limited.sync(), "");
  EXPECT_EQ(full.sync(), "");
  const std::string limitedGo = "wtime 1000 btime 1000 winc 10 binc 10", fullGo = "nodes 30000";
  int limitedPoints = 0;
  for (const std::string fen : {"r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
                                "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5"}) {
    VeltrixEngine* limitedFirst[2] = {&limited, &full};
    VeltrixEngine* fullFirst[2] = {&full, &limited};
    const std::string limitedFirstGo[2] = {limitedGo, fullGo}, fullFirstGo[2] = {fullGo, limitedGo};
    limitedPoints += game_points(limitedFirst, limitedFirstGo, fen);
    limitedPoints += 2 - game_points(fullFirst, fullFirstGo, fen);
  }
  EXPECT_LE(limitedPoints, 2) << "half points of the limited player in four games";
}

}  // namespace
