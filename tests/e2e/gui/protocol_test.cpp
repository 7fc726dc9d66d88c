// What chess interfaces and tournament managers count on, checked on both
// programs alike: answers during a search, limits of one "go" at a time, the time
// kept back for the interface, options, positions and reports as they are written.
#include <algorithm>
#include <regex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "gui_engine.h"

namespace {

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

template <typename Program>
class GuiProtocol : public ::testing::Test {
 protected:
  GuiEngine<Program> g;
  static constexpr Dialect Rules = Program::Rules;
  Position start = position_from(StartFen, Rules);

  // The sets of `count` lines in the output, as an interface reads them: exact
  // lines multipv 1 to `count` in turn, of one depth, with distinct first moves and
  // their scores in order. Every line, bounds included, must be playable from `pos`.
  std::vector<std::vector<ReportedLine>> line_sets(const std::string& out, int count, const Position& pos) {
    std::vector<std::vector<ReportedLine>> sets(1);
    for (const ReportedLine& line : multipv_lines(out)) {
      EXPECT_TRUE(line.multipv >= 1 && line.multipv <= count) << line.multipv << " in\n" << out;
      EXPECT_FALSE(line.moves.empty()) << out;
      Position after = pos;
      for (const std::string& text : line.moves) {
        const Move m = parse_move(after, text.c_str(), Rules);
        EXPECT_NE(m, 0u) << text << " is not legal in its line:\n" << out;
        if (!m) break;
        make_move(after, m, 1);
      }
      if (line.bound || line.moves.empty()) continue;
      std::vector<ReportedLine>& set = sets.back();
      EXPECT_EQ(line.multipv, int(set.size()) + 1) << "the lines of a set come in turn:\n" << out;
      for (const ReportedLine& above : set) {
        EXPECT_EQ(line.depth, above.depth) << out;
        EXPECT_LE(line.score, above.score) << "scores in order:\n" << out;
        EXPECT_NE(line.moves[0], above.moves[0]) << "each line its own move:\n" << out;
      }
      set.push_back(line);
      if (int(set.size()) == count) sets.emplace_back();
    }
    EXPECT_TRUE(sets.back().empty()) << "a set left unfinished:\n" << out;
    sets.pop_back();
    return sets;
  }

  // The answer is the first line's move and the reply to ponder on, when one is
  // named, its second move.
  void expect_first_line_answers(const std::string& out, const std::vector<ReportedLine>& set, const Position& pos) {
    ASSERT_FALSE(set.empty()) << out;
    EXPECT_EQ(legal_answer(out, pos, Rules), set[0].moves[0]) << out;
    std::smatch m;
    if (std::regex_search(out, m, std::regex("\nbestmove \\S+ ponder (\\S+) \n")) && set[0].moves.size() > 1) {
      EXPECT_EQ(m[1], set[0].moves[1]) << out;
    }
  }
};
TYPED_TEST_SUITE(GuiProtocol, Programs, ProgramName);

const std::string Middlegame = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 1";

TYPED_TEST(GuiProtocol, IsreadyIsAnsweredAtOnceWhileTimedAndPonderSearchesGoOn) {
  auto& g = this->g;
  g.engine.send("setoption name Ponder value true");
  g.engine.send("position startpos");
  auto begin = Clock::now();
  g.engine.send("go movetime 1500");
  pause_ms(300);
  g.engine.send("isready");
  std::string early = g.engine.read_until("readyok\n", 1000);
  EXPECT_TRUE(early.ends_with("readyok\n")) << "answered while the search runs:\n" << early;
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << early;
  std::string out = g.answer();
  EXPECT_GE(ms_since(begin), 1300) << "the search took its whole time all the same";
  legal_answer(early + out, this->start, this->Rules);

  g.engine.send("position startpos moves e2e4");
  g.engine.send("go ponder wtime 6000 btime 6000");
  pause_ms(300);
  g.engine.send("isready");
  early = g.engine.read_until("readyok\n", 1000);
  EXPECT_TRUE(early.ends_with("readyok\n")) << "answered while pondering:\n" << early;
  early += g.engine.read_until("bestmove", 500);
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << "still pondering:\n" << early;
  g.engine.send("ponderhit");
  legal_answer(early + g.answer(5000), position_after(StartFen, {"e2e4"}, this->Rules), this->Rules);
}

TYPED_TEST(GuiProtocol, EachGoStandsAlone) {
  auto& g = this->g;
  // Moves to go and an increment, neither of which the next game's "go" names.
  g.search("startpos", "wtime 600 btime 600 winc 5000 binc 5000 movestogo 2");
  g.engine.send("ucinewgame");
  g.sync();
  long long took;
  std::string out = g.timed_search("startpos", "wtime 40000 btime 40000", took);
  EXPECT_LE(took, 3000) << "40 s without moves to go or increment allot about a second";
  legal_answer(out, this->start, this->Rules);

  // A "go" without any limit searches until "stop", whatever the one before named.
  g.engine.send("position startpos");
  g.engine.send("go");
  std::string early = g.engine.read_until("bestmove", 1500);
  EXPECT_EQ(early.find("bestmove"), std::string::npos) << early;
  g.engine.send("stop");
  legal_answer(early + g.answer(5000), this->start, this->Rules);
}

TYPED_TEST(GuiProtocol, NodesSearchmovesAndMateLimitTheSearch) {
  auto& g = this->g;
  // The node count alone ends the search, even after a "go" that set no clock.
  g.search("startpos", "depth 2");
  std::string out = g.search("startpos", "nodes 30000");
  std::vector<std::string> lines = search_lines(out);
  ASSERT_FALSE(lines.empty()) << out;
  for (const std::string& line : lines) EXPECT_LE(report_field(line, "nodes"), 30000 + 5000) << line;
  legal_answer(out, this->start, this->Rules);

  // The move list ends at the next word of the command.
  out = g.search("startpos", "searchmoves b1a3 g1h3 depth 5");
  lines = search_lines(out);
  ASSERT_FALSE(lines.empty()) << out;
  EXPECT_EQ(lines.back().rfind("info depth 5 ", 0), 0u) << lines.back();
  const std::regex onlyThese(".* pv (b1a3|g1h3) .*");
  for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, onlyThese)) << line;
  std::string best = legal_answer(out, this->start, this->Rules);
  EXPECT_TRUE(best == "b1a3" || best == "g1h3") << best;

  // A mate in two is three plies deep.
  out = g.search("fen k7/8/2K5/8/8/8/8/7R w - - 0 1", "mate 2");
  lines = search_lines(out);
  ASSERT_FALSE(lines.empty()) << out;
  EXPECT_EQ(lines.back().rfind("info depth 3 ", 0), 0u) << out;
  legal_answer(out, position_from("k7/8/2K5/8/8/8/8/7R w - - 0 1", this->Rules), this->Rules);
}

TYPED_TEST(GuiProtocol, TimeLimitsLessTheMoveOverhead) {
  auto& g = this->g;
  long long took;
  // The option's name is two words, in any case.
  g.engine.send("setoption name move overhead value 0");
  std::string out = g.timed_search("startpos", "movetime 700", took);
  EXPECT_GE(took, 650) << "the whole move time";
  EXPECT_LE(took, 2700);
  legal_answer(out, this->start, this->Rules);

  g.engine.send("setoption name MOVE OVERHEAD value 1500");
  out = g.timed_search("startpos", "movetime 2000", took);
  EXPECT_LE(took, 1700) << "2000 ms less 1500 for the interface";
  legal_answer(out, this->start, this->Rules);

  // The increment comes only after the move: half the clock at most, whatever it is.
  g.engine.send("setoption name Move Overhead value 10");
  out = g.timed_search("startpos", "wtime 1000 btime 1000 winc 10000 binc 10000", took);
  EXPECT_LE(took, 1500) << "at most 500 ms of a 1000 ms clock";
  legal_answer(out, this->start, this->Rules);
}

TYPED_TEST(GuiProtocol, PositionMovesInEveryWrittenForm) {
  auto& g = this->g;
  // Castling as king takes rook and as the king's two-square step.
  std::string out = g.search("startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1h1 f8c5 d2d3 e8g8", "depth 3");
  legal_answer(
      out,
      position_after(StartFen, {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "e1g1", "f8c5", "d2d3", "e8g8"},
                     this->Rules),
      this->Rules);

  // A promotion letter in upper case: a queen, so White is far ahead.
  const std::string promotion = "7k/P7/8/8/8/8/8/K7 w - - 0 1";
  out = g.search("fen " + promotion + " moves a7a8Q h8h7", "depth 4");
  std::vector<std::string> lines = search_lines(out);
  ASSERT_FALSE(lines.empty()) << out;
  EXPECT_TRUE(report_field(lines.back(), "cp") > 500 || report_field(lines.back(), "mate") > 0) << lines.back();
  legal_answer(out, position_after(promotion, {"a7a8q", "h8h7"}, this->Rules), this->Rules);

  // A game of 4000 plies and one more: the line runs to 20,000 characters.
  std::string shuffles;
  for (int i = 0; i < 1000; i++) shuffles += " g1f3 g8f6 f3g1 f6g8";
  out = g.search("startpos moves" + shuffles + " e2e4", "depth 3");
  legal_answer(out, position_after(StartFen, {"e2e4"}, this->Rules), this->Rules);
  EXPECT_EQ(g.sync(), "");
}

TYPED_TEST(GuiProtocol, FenCountersCarryTheFiftyMoveRule) {
  auto& g = this->g;
  // Queen against bare king, but the 100th half-move without a capture or a pawn
  // move comes with White's move: every line is a draw.
  std::string out = g.search("fen 8/8/8/4k3/8/8/8/1Q2K3 w - - 99 80", "depth 6");
  std::vector<std::string> lines = search_lines(out);
  ASSERT_FALSE(lines.empty()) << out;
  EXPECT_NE(lines.back().find(std::string(" score ") + TypeParam::DrawScore + " "), std::string::npos) << out;

  out = g.search("fen 8/8/8/4k3/8/8/8/1Q2K3 w - - 0 80", "depth 6");
  lines = search_lines(out);
  ASSERT_FALSE(lines.empty()) << out;
  EXPECT_GT(report_field(lines.back(), "cp"), 500) << out;
}

TYPED_TEST(GuiProtocol, RefusedFenIsReportedAndChangesNothing) {
  auto& g = this->g;
  g.engine.send("position startpos moves e2e4");
  g.engine.send("position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1");
  EXPECT_EQ(g.sync(), "info string error: FEN refused, the position stays as it was\n");
  g.engine.send("go depth 3");
  legal_answer(g.answer(), position_after(StartFen, {"e2e4"}, this->Rules), this->Rules);
}

TYPED_TEST(GuiProtocol, ReportsShowTheSpeedFromTheFirstMillisecond) {
  auto& g = this->g;
  std::string out = g.search("startpos", "depth 8");
  int early = 0;
  for (const std::string& line : search_lines(out)) {
    long long nodes = report_field(line, "nodes"), nps = report_field(line, "nps"), ms = report_field(line, "time");
    ASSERT_GE(nodes, 0) << line;
    if (ms <= 0) continue;
    if (ms < 1000) early++;
    // The speed from the milliseconds shown, to the rounding of the clock.
    EXPECT_GE(nps, nodes * 1000 / (ms + 1)) << line;
    EXPECT_LE(nps, nodes * 1000 / ms) << line;
  }
  EXPECT_GT(early, 0) << "no report within the first second:\n" << out;
}

TYPED_TEST(GuiProtocol, SeveralLinesComeBestFirstEachWithItsOwnBounds) {
  auto& g = this->g;
  g.engine.send("setoption name MultiPV value 3");
  struct Case {
    std::string fen;
    int lines;
  };
  const Case cases[] = {
      {Middlegame, 3},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3},
      // In check with two ways out: two lines.
      {"6k1/5ppp/8/8/8/8/6P1/r5K1 w - - 0 1", 2},
  };
  int bounds = 0;
  for (const Case& c : cases) {
    const Position pos = position_from(c.fen, this->Rules);
    const std::string out = g.search("fen " + c.fen, "depth 8", 120000);
    const auto sets = this->line_sets(out, c.lines, pos);
    ASSERT_FALSE(sets.empty()) << out;
    EXPECT_EQ(sets.back()[0].depth, 8) << out;
    this->expect_first_line_answers(out, sets.back(), pos);
    for (const ReportedLine& line : multipv_lines(out)) bounds += line.bound;
  }
  // veltrix gives every line its own aspiration window; the classic engine
  // searches them all with the full window.
  if (TypeParam::Rules == Dialect::Veltrix) {
    EXPECT_GT(bounds, 0) << "no line failed high or low";
  }
}

TYPED_TEST(GuiProtocol, SeveralLinesWithSearchmovesTwoThreadsAndStop) {
  auto& g = this->g;
  g.engine.send("setoption name MultiPV value 3");
  // Fewer root moves than lines: a line for each.
  std::string out = g.search("startpos", "searchmoves b1a3 g1h3 depth 5");
  auto sets = this->line_sets(out, 2, this->start);
  ASSERT_FALSE(sets.empty()) << out;
  std::vector<std::string> firsts = {sets.back()[0].moves[0], sets.back()[1].moves[0]};
  std::sort(firsts.begin(), firsts.end());
  EXPECT_EQ(firsts, (std::vector<std::string>{"b1a3", "g1h3"})) << out;
  this->expect_first_line_answers(out, sets.back(), this->start);

  // A single processor keeps one thread: the same checks then hold without a helper.
  g.engine.send("setoption name Threads value 2");
  const Position middlegame = position_from(Middlegame, this->Rules);
  out = g.search("fen " + Middlegame, "depth 8", 120000);
  sets = this->line_sets(out, 3, middlegame);
  ASSERT_FALSE(sets.empty()) << out;
  EXPECT_EQ(sets.back()[0].depth, 8) << out;
  this->expect_first_line_answers(out, sets.back(), middlegame);

  // Stopped, the lines last shown stand and the first of them answers.
  g.engine.send("position fen " + Middlegame);
  g.engine.send("go infinite");
  out = g.engine.read_until(" multipv 3 ", 60000);
  g.engine.send("stop");
  out += g.answer();
  sets = this->line_sets(out, 3, middlegame);
  ASSERT_FALSE(sets.empty()) << out;
  this->expect_first_line_answers(out, sets.back(), middlegame);
}

// The chances come right after the score, add up to a thousand, and follow the
// score: within one search (one material count) a higher score never shows fewer
// wins or more losses. A mate is certain.
TYPED_TEST(GuiProtocol, WinDrawLossFollowTheScore) {
  auto& g = this->g;
  g.engine.send("setoption name UCI_ShowWDL value true");
  static const std::regex form(" score (cp|mate) (-?\\d+) wdl (\\d+) (\\d+) (\\d+) ");
  struct Chances {
    long long score;
    int win, draw, loss;
  };
  auto chances = [&](const std::string& fen, const std::string& limits) {
    const std::string out = g.search("fen " + fen, limits);
    std::vector<Chances> seen;
    for (const std::string& line : search_lines(out)) {
      std::smatch m;
      EXPECT_TRUE(std::regex_search(line, m, form)) << line;
      if (m.empty()) continue;
      const long long v = std::stoll(m[2]);
      Chances c{m[1] == "mate" ? (v > 0 ? 100000 - v : -100000 - v) : v, std::stoi(m[3]), std::stoi(m[4]),
                std::stoi(m[5])};
      EXPECT_EQ(c.win + c.draw + c.loss, 1000) << line;
      for (const Chances& other : seen) {
        if (c.score > other.score) {
          EXPECT_TRUE(c.win >= other.win && c.loss <= other.loss) << line;
        }
      }
      seen.push_back(c);
    }
    EXPECT_FALSE(seen.empty()) << out;
    return seen.empty() ? Chances{} : seen.back();
  };
  const Chances won = chances("4k3/8/8/8/8/8/3PPP2/2RQK3 w - - 0 1", "depth 8");
  EXPECT_GT(won.win, 900);
  const Chances lost = chances("4k3/8/8/8/8/8/3PPP2/2RQK3 b - - 0 1", "depth 8");
  EXPECT_GT(lost.loss, 900);
  const Chances level = chances(Middlegame, "depth 8");
  EXPECT_TRUE(level.win < 900 && level.loss < 900 && level.draw > 0) << "an open game";
  const Chances bare = chances("4k3/8/8/8/8/8/8/4K3 w - - 0 1", "depth 4");
  EXPECT_EQ(bare.draw, 1000) << "nobody can mate";
  const Chances mated = chances("7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "depth 4");
  EXPECT_EQ(mated.loss, 1000);
  const Chances mating = chances("7k/8/6K1/8/8/8/8/6Q1 w - - 0 1", "depth 4");
  EXPECT_EQ(mating.win, 1000);
}

}  // namespace
