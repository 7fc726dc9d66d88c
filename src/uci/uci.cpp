#include "uci/uci.h"

#include <cstdio>

#include "board/settings.h"
#include "book/book.h"
#include "eval/evaluate.h"
#include "protocol/uci_session.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/tt.h"
#include "uci/console.h"
#include "uci/front_end.h"

namespace classic {
namespace {
constexpr int MaxClock = 36000000;
constexpr int MaxDepth = 119;

int clamp_depth(int depth) { return depth < 1 ? 1 : depth > MaxDepth ? MaxDepth : depth; }

// The interface sets UCI_Chess960 once and keeps it for its games.
void start_position() { set_up_start_position(); }

// A FEN that is no usable position leaves the game as it was.
bool fen_position(const char* fen) {
  BookConfig.gameFromStart = false;
  return read_fen(GamePosition, fen);
}

void illegal_move(const std::string& token) {
  if (BoardConfig.debugInfo) printf("info string illegal move: %s\n", token.c_str());
}

void new_game() {
  start_position();
  clear_hash_tables();
}

// Each "go" stands alone: what it does not name takes its start value, and a "go"
// that names no limit at all searches until "stop".
void go(const GoCommand& go) {
  TimeControl& t = Time;
  t = TimeControl{};
  t.clocked = go.wtime || go.btime || go.moveTime;
  if (!t.clocked) set_both_clocks(t, MaxClock, go.infinite ? 0 : 1);
  if (go.depth || go.mate) t.depthLimit = clamp_depth(go.depth ? *go.depth : 2 * *go.mate - 1);
  if (go.moveTime) {
    for (SideClock& s : t.side) {
      s.time = *go.moveTime;
      s.movesToGo = 1;
    }
    t.movetime = true;
  }
  if (go.wtime) t.side[White].time = *go.wtime;
  if (go.btime) t.side[Black].time = *go.btime;
  if (go.winc) t.side[White].increment = *go.winc;
  if (go.binc) t.side[Black].increment = *go.binc;
  if (go.movesToGo) t.side[White].movesToGo = t.side[Black].movesToGo = *go.movesToGo;
  t.infinite = go.infinite || !go.has_limit() || (go.ponder && FrontEnd.ponder);
  set_search_limits(go, GamePosition, Dialect::Classic);
  go_search(GamePosition);
}

void eval() { print_eval_report(GamePosition); }

bool other_command(const std::string& command, Tokens& in) {
  if (command != "perft") return false;
  run_perft(in.rest());
  return true;
}

const UciEngine& classic_engine() {
  static const UciEngine engine{"Veltrix 8.0 Jan. 2017 x64",
                                "Brenmoor",
                                &classic_options(),
                                &GamePosition,
                                Dialect::Classic,
                                start_position,
                                fen_position,
                                illegal_move,
                                new_game,
                                finish_pending_set_up,
                                go,
                                eval,
                                other_command};
  return engine;
}

void quit_uci() {
  if (BoardConfig.debugInfo) printf("info string exit...");
  quit_program();
}
}  // namespace

bool uci_command(const std::string& line) { return ::uci_command(classic_engine(), line); }

void uci_loop() {
  FrontEnd.uciMode = true;
  ::uci_loop(classic_engine(), quit_uci);
}
}  // namespace classic
