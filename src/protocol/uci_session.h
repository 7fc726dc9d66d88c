// The UCI plumbing both front ends share: the identification block, the dispatch
// of command lines, and the reading of "setoption", "position" and "go". What a
// command does belongs to each engine, which states it in a UciEngine record.
#pragma once

#include <optional>
#include <string>

#include "board/position.h"
#include "protocol/options.h"
#include "protocol/tokens.h"

// What a "go" line names.
struct GoCommand {
  std::optional<int> wtime, btime, winc, binc, movesToGo, moveTime, depth, mate;
  bool infinite = false, ponder = false;
};

GoCommand read_go(Tokens& in);

struct UciEngine {
  const char* idName;  // the words after "id name"
  const char* author;
  const OptionList* options;
  Position* game;
  Dialect dialect;
  // "startpos": the start position and whatever comes with it.
  void (*startPosition)();
  // "fen": the game from a FEN; false when the text was refused.
  bool (*fenPosition)(const char* fen);
  // A move of "moves" that is not legal in the game: what is said before the
  // session ends.
  void (*illegalMove)(const std::string& token);
  void (*newGame)();
  void (*go)(const GoCommand& command);
  void (*eval)();
  // A command of this engine alone; false when the line is none of its commands.
  bool (*otherCommand)(const std::string& command, Tokens& in);
};

// "id name", "id author", the option lines and "uciok".
void print_identification(const UciEngine& engine);
// One command line. False when the line ends the session: "quit", or a move in
// "position" that is not legal in the game.
bool uci_command(const UciEngine& engine, const std::string& line);
// The identification, then command lines until the session ends; `quit` ends the
// program.
[[noreturn]] void uci_loop(const UciEngine& engine, void (*quit)());

// A score as "cp N " or, beyond the mate bound, "mate N " with N in moves (negative
// when the side to move is mated).
void print_score(int score);
