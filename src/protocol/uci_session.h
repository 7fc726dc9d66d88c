// The UCI plumbing both front ends share: the identification block, the dispatch
// of command lines, and the reading of "setoption", "position" and "go". What a
// command does belongs to each engine, which states it in a UciEngine record.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/position.h"
#include "protocol/options.h"
#include "protocol/tokens.h"

// What a "go" line names. Each "go" stands alone: what it does not name is unset.
struct GoCommand {
  std::optional<int> wtime, btime, winc, binc, movesToGo, moveTime, depth, mate;
  std::optional<uint64_t> nodes;
  std::vector<std::string> searchMoves;  // as written; the engine reads them
  bool infinite = false, ponder = false;

  // Whether anything ends the search but "stop": a clock, a depth, a node count.
  bool has_limit() const { return wtime || btime || moveTime || depth || mate || nodes; }
};

GoCommand read_go(Tokens& in);
// The node limit and the root moves of a "go" into the search limits both engines
// read; the moves are read against the game position.
void set_search_limits(const GoCommand& go, const Position& game, Dialect dialect);

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
  // "isready": set-up that is still pending, done before the answer.
  void (*prepare)();
  void (*go)(const GoCommand& command);
  void (*eval)();
  // A command of this engine alone; false when the line is none of its commands.
  bool (*otherCommand)(const std::string& command, Tokens& in);
};

// "Move Overhead": the milliseconds both engines keep back from every time limit.
UciOption move_overhead_option();
// Appends the Syzygy tables' four options, which both engines list after their
// own. Setting the path opens the tables at once and says how many were found.
void add_syzygy_options(OptionList& options);

// "id name", "id author", the option lines and "uciok".
void print_identification(const UciEngine& engine);
// One command line. False when the line ends the session: "quit", or a move in
// "position" that is not legal in the game.
bool uci_command(const UciEngine& engine, const std::string& line);
// The identification, then command lines until the session ends; `quit` ends the
// program.
[[noreturn]] void uci_loop(const UciEngine& engine, void (*quit)());
// The longest command line read whole; a game of any real length fits many times.
constexpr size_t MaxUciLine = size_t(1) << 24;
