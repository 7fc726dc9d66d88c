#include "protocol/uci_session.h"

#include <cstdio>
#include <cstdlib>

#include "board/movetext.h"
#include "engine/score.h"
#include "platform/platform.h"

namespace {
constexpr int MaxUciLine = 8191;

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
}  // namespace

GoCommand read_go(Tokens& in) {
  GoCommand go;
  std::string token, number;
  auto value = [&] { return in.next(number) ? read_int(number) : 0; };
  while (in.next(token)) {
    if (token == "infinite")
      go.infinite = true;
    else if (token == "ponder")
      go.ponder = true;
    else if (token == "wtime")
      go.wtime = value();
    else if (token == "btime")
      go.btime = value();
    else if (token == "winc")
      go.winc = value();
    else if (token == "binc")
      go.binc = value();
    else if (token == "movetime")
      go.moveTime = value();
    else if (token == "movestogo")
      go.movesToGo = value();
    else if (token == "depth")
      go.depth = value();
    else if (token == "mate")
      go.mate = value();
  }
  return go;
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

void print_score(int score) {
  if (score > SCORE_MATE_RANGE)
    printf("mate %d ", (SCORE_MATE + 1 - score) / 2);
  else if (score < -SCORE_MATE_RANGE)
    printf("mate %d ", -((score + SCORE_MATE) / 2));
  else
    printf("cp %d ", score);
}
