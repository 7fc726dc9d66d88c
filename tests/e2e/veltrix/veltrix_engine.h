// A running veltrix program for the end-to-end tests: started, banner read, and
// switched to UCI when asked.
#pragma once

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/movetext.h"
#include "support/board_setup.h"
#include "support/engine_process.h"
#include "support/syzygy_tables.h"

inline const std::string VeltrixBanner = "\nVeltrix v9.0 Dec 15 2020 x64\nby Brenmoor \n\n";
// Started in an empty folder, the program finds no network file and takes its own.
inline const std::string StartNetwork = "Using the built-in network nn-62ef826d1a6d.nnue\n";
// What "eval" prints for the start position with white to move, by the network and
// by the fallback evaluation.
inline const std::string NetworkStartEval = "eval: 22\n";
inline const std::string FallbackStartEval = "eval: 5\n";

inline const std::string VeltrixIdentification =
    "id name Veltrix v9.0 Dec 15 2020 x64\n"
    "id author Brenmoor \n"
    "option name UCI_EngineAbout type string default Veltrix v9.0 Dec 15 2020 x64, by Brenmoor\n"
    "option name Hash type spin default 256 min 1 max 32768 \n"
    "option name ClearHash type button \n"
    "option name Ponder type check default false\n"
    "option name Threads type spin default 1 min 1 max 64 \n"
    "option name UCI_Chess960 type check default false\n"
    "option name Castling_OO type check default false\n"
    "option name NNUE_Eval type check default true\n"
    "option name NNUE_File type string default nn-62ef826d1a6d.nnue\n"
    "option name Move Overhead type spin default 10 min 0 max 5000 \n" +
    SyzygyOptionLines + "option name MultiPV type spin default 1 min 1 max 256 \n" +
    "option name UCI_ShowWDL type check default false\n" +
    "option name UCI_LimitStrength type check default false\n" +
    "option name UCI_Elo type spin default 1350 min 1350 max 2850 \n" + "uciok\n";

struct VeltrixEngine {
  EngineProcess engine;

  explicit VeltrixEngine(const std::vector<std::string>& args = {}, size_t addressSpace = 0)
      : engine(VELTRIX_BIN, args, "", addressSpace) {
    EXPECT_EQ(engine.read_until(StartNetwork), VeltrixBanner + StartNetwork);
  }

  void uci() {
    engine.send("uci");
    EXPECT_EQ(engine.read_until("uciok\n", StartupTimeoutMs), VeltrixIdentification);
  }

  // Output up to now, ended by the answer to an "isready" sent now (which may wait
  // for tables to be filled).
  std::string sync() {
    engine.send("isready");
    std::string out = engine.read_until("readyok\n", StartupTimeoutMs);
    EXPECT_GE(out.size(), 8u);
    return out.size() >= 8 ? out.substr(0, out.size() - 8) : out;
  }

  void use_fallback() {
    engine.send("setoption name NNUE_Eval value false");
    EXPECT_EQ(sync(), "");
  }
};

inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The search line exactly as the protocol form has it, every move followed by a blank.
inline bool is_search_line(const std::string& line) {
  static const std::regex form(
      "info depth \\d+ seldepth \\d+ score (cp|mate) -?\\d+ (upperbound |lowerbound )?nodes -?\\d+ nps \\d+ "
      "time \\d+ pv ([a-h][1-8][a-h][1-8][nbrq]? )*");
  return std::regex_match(line, form);
}

inline bool is_currmove_line(const std::string& line) {
  static const std::regex form(
      "info depth \\d+ hashfull \\d+ currmovenumber \\d+ currmove [a-h][1-8][a-h][1-8][nbrq]? ");
  return std::regex_match(line, form);
}

// The move of a "bestmove" line, which must be legal in the FEN's position.
inline std::string checked_best_move(const std::string& bestmoveLine, const std::string& fen) {
  static const std::regex form("bestmove ([a-h][1-8][a-h][1-8][nbrq]?) (ponder [a-h][1-8][a-h][1-8][nbrq]? )?");
  std::smatch m;
  if (!std::regex_match(bestmoveLine, m, form)) {
    ADD_FAILURE() << "not a bestmove line: '" << bestmoveLine << "'";
    return "";
  }
  Position pos = position_from(fen, Dialect::Veltrix);
  EXPECT_NE(parse_move(pos, m[1].str().c_str(), Dialect::Veltrix), 0u) << m[1] << " in " << fen;
  return m[1];
}
