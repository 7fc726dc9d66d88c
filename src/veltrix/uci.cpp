#include "veltrix/uci.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/movetext.h"
#include "nnue/nnue.h"
#include "platform/platform.h"
#include "uci/tokens.h"
#include "veltrix/console.h"
#include "veltrix/engine_options.h"
#include "veltrix/hash_table.h"
#include "veltrix/identity.h"
#include "veltrix/network_choice.h"
#include "veltrix/search.h"
#include "veltrix/threads.h"

namespace {

constexpr int MaxUciLine = 8191;
// The clock of a search that only a depth or "stop" ends.
constexpr int NoTimeLimit = 36000000;
// The Threads maximum the identification shows; the machine sets the real one.
constexpr int ShownMaxThreads = 64;

// A decimal integer; text that is no number reads as 0, and numbers beyond the
// range of int stop at its ends.
int read_int(const std::string& text) {
  long v = strtol(text.c_str(), nullptr, 10);
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

void print_check_option(const char* name, bool value) {
  printf("option name %s type check default %s\n", name, bool_text(value));
}

void print_identification() {
  printf("id name %s %s %s\n", EngineName, EngineDate, EnginePlatform);
  printf("id author %s \n", EngineAuthor);
  printf("option name UCI_EngineAbout type string default %s %s %s, by %s\n", EngineName, EngineDate, EnginePlatform,
         EngineAuthor);
  printf("option name Hash type spin default %d min %d max %d \n", Table.hashMegabytes, 1, MaxHashMegabytes);
  printf("option name ClearHash type button \n");
  print_check_option("Ponder", Engine.ponderOption);
  printf("option name Threads type spin default %d min 1 max %d \n", Engine.threadCount, ShownMaxThreads);
  print_check_option("UCI_Chess960", BoardConfig.chess960);
  print_check_option("Castling_OO", BoardConfig.castlingOO);
  print_check_option("NNUE_Eval", Engine.nnueEval);
  printf("option name NNUE_File type string default %s\n", Engine.nnueFile);
  printf("uciok\n");
}

void set_hash(int requested) {
  int mb = clamp_hash_megabytes(requested);
  if (mb == Table.hashMegabytes) return;
  if (!table_allocate(mb))
    printf("info string error: could not allocate %d MB for the hash table, keeping %d MB\n", mb, Table.hashMegabytes);
}

void set_option(const std::string& name, const std::string& value) {
  bool on = value == "true";
  if (name == "Hash") {
    set_hash(read_int(value));
  } else if (name == "Ponder") {
    Engine.ponderOption = on;
  } else if (name == "UCI_Chess960") {
    BoardConfig.chess960 = on;
  } else if (name == "Castling_OO") {
    BoardConfig.castlingOO = on;
  } else if (name == "Threads") {
    set_thread_count(read_int(value));
  } else if (name == "NNUE_Eval") {
    Engine.nnueEval = on;
    if (on) load_requested_network();
    // The table keeps static evaluations: those of the other evaluation must not
    // mix with the one now in use.
    table_clear();
  } else if (name == "NNUE_File") {
    if (!set_nnue_file(value.c_str()))
      printf("info string error: NNUE_File name longer than %d characters, keeping %s\n", NnueFileCapacity - 1,
             Engine.nnueFile);
  }
}

bool is_option_name(const std::string& token) {
  for (const char* name : {"Hash", "Ponder", "UCI_Chess960", "Castling_OO", "Threads", "NNUE_Eval", "NNUE_File"})
    if (token == name) return true;
  return false;
}

// Every token naming an option takes the next two as "value" and the value (the
// button ClearHash takes none); the scan then goes on, so one line may set several.
void setoption(Tokens& in) {
  std::string token;
  while (in.next(token)) {
    if (token == "ClearHash") {
      table_clear();
    } else if (is_option_name(token)) {
      std::string word, value;
      in.next(word);
      in.next(value);
      set_option(token, value);
    }
  }
}

// False when a move of the list is illegal: the interface and the engine no longer
// agree on the game, and the session ends.
bool position(Tokens& in) {
  std::string token;
  // Moves meant for a FEN that could not be read are not played on another position.
  bool setUp = true;
  while (in.next(token)) {
    if (token == "startpos") {
      set_up_start_position();
    } else if (token == "fen") {
      setUp = read_fen(GamePosition, in.rest(), Dialect::Veltrix);
      for (int field = 0; field < 4; field++) in.next(token);
    } else if (token == "moves") {
      while (setUp && in.next(token)) {
        Move m = parse_move(GamePosition, token.c_str(), Dialect::Veltrix);
        if (!m) {
          printf("info string illegal move: %s\n", token.c_str());
          return false;
        }
        make_move(GamePosition, m, 1);
      }
    }
  }
  return true;
}

void set_clocks(int ms, int movesToGo) {
  ClockRecord& c = Clock;
  c.wtime = c.btime = ms;
  c.wMovesToGo = c.bMovesToGo = movesToGo;
  c.winc = c.binc = 0;
}

void go(Tokens& in) {
  ClockRecord& c = Clock;
  Engine.depthLimit = MaxDepthLimit;
  Engine.pondering = 0;
  std::string token, number;
  auto value = [&] { return in.next(number) ? read_int(number) : 0; };
  while (in.next(token)) {
    if (token == "infinite") {
      Engine.pondering = 1;
      set_clocks(NoTimeLimit, 0);
      Engine.depthLimit = MaxDepthLimit;
    } else if (token == "ponder") {
      if (Engine.ponderOption) Engine.pondering = 1;
    } else if (token == "wtime") {
      c.wtime = value();
    } else if (token == "btime") {
      c.btime = value();
    } else if (token == "winc") {
      c.winc = value();
    } else if (token == "binc") {
      c.binc = value();
    } else if (token == "movetime") {
      c.wtime = c.btime = value();
      c.wMovesToGo = c.bMovesToGo = 1;
    } else if (token == "movestogo") {
      c.wMovesToGo = c.bMovesToGo = value();
    } else if (token == "depth") {
      int d = value();
      Engine.depthLimit = d < 1 ? 1 : d > MaxDepthLimit ? MaxDepthLimit : d;
      set_clocks(NoTimeLimit, 1);
    }
  }
  go_search(GamePosition);
}

// The switches stay: a Chess960 interface announces the variant once, before its games.
void new_game() {
  read_fen(GamePosition, StartFen, Dialect::Veltrix);
  table_clear();
}

}  // namespace

bool uci_command(const std::string& line) {
  Tokens in(line);
  std::string command;
  if (!in.next(command)) return true;
  if (command == "ucinewgame") {
    new_game();
  } else if (command == "isready") {
    printf("readyok\n");
  } else if (command == "setoption") {
    setoption(in);
  } else if (command == "position") {
    return position(in);
  } else if (command == "go") {
    go(in);
  } else if (command == "eval") {
    print_evaluation(GamePosition);
  } else if (command == "quit") {
    return false;
  }
  return true;
}

void uci_loop() {
  Engine.uciMode = 1;
  print_identification();
  std::string line;
  // The end of input acts as "quit".
  while (read_line(line, MaxUciLine) && uci_command(line)) {
  }
  quit_veltrix();
}
