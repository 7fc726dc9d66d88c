// Either program as a chess interface runs it, for the tests of what both must do
// alike: started, switched to UCI with a small table, and asked to search.
#pragma once

#include <chrono>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/movetext.h"
#include "support/board_setup.h"
#include "support/engine_process.h"

struct ClassicProgram {
  static constexpr const char* Binary = VELTRIX_CLASSIC_BIN;
  static constexpr Dialect Rules = Dialect::Classic;
  // Without the book every answer comes from a search.
  static constexpr const char* QuickStart[] = {"Hash value 16", "OwnBook value false"};
  // A draw counts one centipawn against the side to move at the root.
  static constexpr const char* DrawScore = "cp -1";
  // The endgame tables' win at the root, which is ply 1.
  static constexpr int TableWin = 19999;
};

struct VeltrixProgram {
  static constexpr const char* Binary = VELTRIX_BIN;
  static constexpr Dialect Rules = Dialect::Veltrix;
  static constexpr const char* QuickStart[] = {"Hash value 16"};
  static constexpr const char* DrawScore = "cp 0";
  // The endgame tables' win at the root, which is ply 0.
  static constexpr int TableWin = 20000;
};

using Programs = ::testing::Types<ClassicProgram, VeltrixProgram>;

// Names the typed tests after the program.
struct ProgramName {
  template <typename P>
  static std::string GetName(int) {
    return std::is_same_v<P, ClassicProgram> ? "Classic" : "Veltrix";
  }
};

using Clock = std::chrono::steady_clock;

inline long long ms_since(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

inline std::vector<std::string> output_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The search lines ("info depth N seldepth ..."), not the current-move lines.
inline std::vector<std::string> search_lines(const std::string& text) {
  std::vector<std::string> out;
  for (const std::string& line : output_lines(text))
    if (line.rfind("info depth ", 0) == 0 && line.find(" seldepth ") != std::string::npos) out.push_back(line);
  return out;
}

// The number after `field` in a report line, -1 when it is not there.
inline long long report_field(const std::string& line, const std::string& field) {
  std::smatch m;
  if (!std::regex_search(line, m, std::regex(" " + field + " (-?\\d+) "))) return -1;
  return std::stoll(m[1]);
}

// A line of several as a report shows it.
struct ReportedLine {
  int depth = 0, multipv = 0;
  long long score = 0;  // mates beyond every centipawn score, the nearest highest
  bool bound = false;   // "upperbound" or "lowerbound"
  std::vector<std::string> moves;
};

// The search lines that carry "multipv", in order.
inline std::vector<ReportedLine> multipv_lines(const std::string& text) {
  static const std::regex form(
      "info depth (\\d+) seldepth \\d+ multipv (\\d+) score (cp|mate) (-?\\d+) (upperbound |lowerbound )?.* pv (.*)");
  std::vector<ReportedLine> out;
  for (const std::string& line : search_lines(text)) {
    std::smatch m;
    if (!std::regex_match(line, m, form)) continue;
    ReportedLine r{std::stoi(m[1]), std::stoi(m[2]), std::stoll(m[4]), m[5].matched, {}};
    if (m[3] == "mate") r.score = r.score > 0 ? 1000000 - r.score : -1000000 - r.score;
    std::istringstream moves(m[6]);
    for (std::string move; moves >> move;) r.moves.push_back(move);
    out.push_back(r);
  }
  return out;
}

// The position after the moves, from a FEN.
inline Position position_after(const std::string& fen, const std::vector<std::string>& moves, Dialect rules) {
  Position pos = position_from(fen, rules);
  for (const std::string& text : moves) {
    Move m = parse_move(pos, text.c_str(), rules);
    EXPECT_NE(m, 0u) << text;
    if (m) make_move(pos, m, 1);
  }
  return pos;
}

template <typename Program>
struct GuiEngine {
  EngineProcess engine{Program::Binary};

  GuiEngine() {
    engine.send("uci");
    std::string start = engine.read_until("uciok\n", 30000);
    EXPECT_NE(start.find("uciok\n"), std::string::npos) << start;
    for (const char* option : Program::QuickStart) engine.send(std::string("setoption name ") + option);
    sync(30000);  // the first "isready" may set up tablebases: what it prints is not looked at here
  }

  // Everything printed until the "readyok" that answers an "isready" sent now.
  std::string sync(int timeoutMs = 10000) {
    engine.send("isready");
    std::string out = engine.read_until("readyok\n", timeoutMs);
    EXPECT_TRUE(out.ends_with("readyok\n")) << out;
    return out.ends_with("readyok\n") ? out.substr(0, out.size() - 8) : out;
  }

  // The output up to and including the "bestmove" line.
  std::string answer(int timeoutMs = 20000) {
    std::string out = engine.read_until("bestmove ", timeoutMs);
    return out + engine.read_until("\n", 2000);
  }

  // "position", then "go" with the limits; the output to the "bestmove" line.
  std::string search(const std::string& position, const std::string& limits, int timeoutMs = 20000) {
    engine.send("position " + position);
    engine.send("go " + limits);
    return answer(timeoutMs);
  }

  // The same, timed from "go" to the "bestmove" line.
  std::string timed_search(const std::string& position, const std::string& limits, long long& tookMs) {
    engine.send("position " + position);
    auto start = Clock::now();
    engine.send("go " + limits);
    std::string out = answer(20000);
    tookMs = ms_since(start);
    return out;
  }
};

// The move of the output's "bestmove" line, which must be legal in the position.
inline std::string legal_answer(const std::string& out, const Position& pos, Dialect rules) {
  std::smatch m;
  if (!std::regex_search(out, m, std::regex("(^|\n)bestmove (\\S+) (ponder \\S+ )?\n"))) {
    ADD_FAILURE() << "no bestmove line in:\n" << out;
    return "";
  }
  EXPECT_NE(parse_move(pos, m[2].str().c_str(), rules), 0u) << m[2] << " is not legal here:\n" << out;
  return m[2];
}
