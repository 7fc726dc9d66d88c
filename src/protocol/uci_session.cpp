#include "protocol/uci_session.h"

#include <cstdio>
#include <cstdlib>

#include "board/movetext.h"
#include "engine/search_limits.h"
#include "platform/platform.h"
#include "syzygy/syzygy.h"

namespace {
// False when a move of the list is illegal: the interface and the engine no longer
// agree on the game.
bool read_position(const UciEngine& engine, Tokens& in) {
  Position& game = *engine.game;
  std::string token;
  // Moves meant for a FEN that could not be read are not played on another position.
  bool setUp = true;
  while (in.next(token)) {
    if (token == "startpos") {
      engine.startPosition();
    } else if (token == "fen") {
      setUp = engine.fenPosition(in.rest());
      if (!setUp) printf("info string error: FEN refused, the position stays as it was\n");
      for (int field = 0; field < 4; field++) in.next(token);
    } else if (token == "moves") {
      while (setUp && in.next(token)) {
        Move m = parse_move(game, token.c_str(), engine.dialect);
        if (!m) {
          engine.illegalMove(token);
          return false;
        }
        make_move(game, m, 1);
      }
    }
  }
  return true;
}

bool is_go_keyword(const std::string& token) {
  for (const char* word : {"infinite", "ponder", "wtime", "btime", "winc", "binc", "movetime", "movestogo", "depth",
                           "mate", "nodes", "searchmoves"})
    if (token == word) return true;
  return false;
}
}  // namespace

GoCommand read_go(Tokens& in) {
  GoCommand go;
  std::string token, number;
  auto value = [&] { return in.next(number) ? read_int(number) : 0; };
  while (in.next(token)) {
    if (token == "infinite") go.infinite = true;
    if (token == "ponder") go.ponder = true;
    if (token == "wtime") go.wtime = value();
    if (token == "btime") go.btime = value();
    if (token == "winc") go.winc = value();
    if (token == "binc") go.binc = value();
    if (token == "movetime") go.moveTime = value();
    if (token == "movestogo") go.movesToGo = value();
    if (token == "depth") go.depth = value();
    if (token == "mate") go.mate = value();
    if (token == "nodes") go.nodes = in.next(number) ? strtoull(number.c_str(), nullptr, 10) : 0;
    if (token == "searchmoves") {
      // The moves run up to the next keyword: put it back for the loop to read.
      size_t before = in.pos;
      while (in.next(token) && !is_go_keyword(token)) {
        go.searchMoves.push_back(token);
        before = in.pos;
      }
      in.pos = before;
    }
  }
  return go;
}

void set_search_limits(const GoCommand& go, const Position& game, Dialect dialect) {
  Limits.nodes = go.nodes.value_or(0);
  Limits.searchMoveCount = 0;
  for (const std::string& text : go.searchMoves)
    if (Move m = parse_move(game, text.c_str(), dialect); m && Limits.searchMoveCount < 256)
      Limits.searchMoves[Limits.searchMoveCount++] = m;
}

UciOption move_overhead_option() {
  return spin_option(
      "Move Overhead", 0, 5000, [] { return Limits.moveOverheadMs; }, [](int ms) { Limits.moveOverheadMs = ms; });
}

void add_syzygy_options(OptionList& options) {
  options.insert(
      options.end(),
      {
          string_option(
              "SyzygyPath", [] { return SyzygyConfig.path.empty() ? NoSyzygyPath : SyzygyConfig.path; },
              [](const std::string& path) { printf("info string Found %d tablebases\n", set_syzygy_path(path)); }),
          spin_option(
              "SyzygyProbeDepth", 1, 100, [] { return SyzygyConfig.probeDepth; },
              [](int depth) { SyzygyConfig.probeDepth = depth; }),
          check_option(
              "Syzygy50MoveRule", [] { return SyzygyConfig.rule50; }, [](bool on) { SyzygyConfig.rule50 = on; }),
          spin_option(
              "SyzygyProbeLimit", 0, 7, [] { return SyzygyConfig.probeLimit; },
              [](int men) { SyzygyConfig.probeLimit = men; }),
      });
}

void print_identification(const UciEngine& engine) {
  printf("id name %s\n", engine.idName);
  printf("id author %s \n", engine.author);
  print_option_lines(*engine.options);
  printf("uciok\n");
}

bool uci_command(const UciEngine& engine, const std::string& line) {
  Tokens in(line);
  std::string command;
  if (!in.next(command)) return true;
  if (command == "quit") return false;
  if (command == "ucinewgame") {
    engine.newGame();
  } else if (command == "isready") {
    if (engine.prepare) engine.prepare();
    printf("readyok\n");
  } else if (command == "setoption") {
    read_setoption(*engine.options, in);
  } else if (command == "position") {
    return read_position(engine, in);
  } else if (command == "go") {
    engine.go(read_go(in));
  } else if (command == "eval") {
    engine.eval();
  } else if (engine.otherCommand) {
    engine.otherCommand(command, in);
  }
  return true;
}

void uci_loop(const UciEngine& engine, void (*quit)()) {
  print_identification(engine);
  std::string line;
  // The end of input acts as "quit".
  while (read_line(line, MaxUciLine) && uci_command(engine, line)) {
  }
  quit();
  std::abort();  // quit never returns
}
