#include "uci/uci.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/movetext.h"
#include "eval/eval_cache.h"
#include "eval/evaluate.h"
#include "platform/platform.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/threads.h"
#include "search/tt.h"
#include "uci/console.h"
#include "uci/options.h"
#include "uci/tokens.h"

namespace {

constexpr int MaxUciLine = 8191;
constexpr int MaxClock = 36000000;

const char* const Identity[] = {"Veltrix", "8.0", "Jan. 2017", "x64"};
const char* const Author = "Brenmoor";

void print_check_option(const char* name, bool value) {
  printf("option name %s type check default %s\n", name, bool_text(value));
}

void print_identification() {
  const char* const* id = Identity;
  printf("id name %s %s %s %s\n", id[0], id[1], id[2], id[3]);
  printf("id author %s \n", Author);
  printf("option name UCI_EngineAbout type string default %s %s %s %s, by %s\n", id[0], id[1], id[2], id[3], Author);
  printf("option name Hash type spin default %d min %d max %d \n", TT.hashMegabytes, 1, TTMaxMegabytes);
  printf("option name EvalHash type spin default %d min %d max %d \n", eval_cache_size().megabytes, 1, EvalHashMaxMb);
  printf("option name PawnHash type spin default %d min %d max %d \n", pawn_cache_size().megabytes, 1, PawnHashMaxMb);
  printf("option name MaterialHash type spin default %d min %d max %d \n", material_cache_size().megabytes, 1,
         MaterialHashMaxMb);
  printf("option name ClearHash type button \n");
  print_check_option("Ponder", Options.ponder);
  printf("option name MultiPV type spin default %d min 1 max %d \n", Options.multiPV, 255);
  print_check_option("UCI_Chess960", BoardConfig.chess960);
  print_check_option("Castling_OO", BoardConfig.castlingOO);
  printf("option name Threads type spin default %d min 1 max %d \n", Options.threads, 64);
  print_check_option("UseNalimov", Options.useNalimov);
  printf("option name NalimovPath type string default %s\n", Options.nalimovPath.c_str());
  printf("option name NalimovCache type spin default %d min %d max %d \n", Options.nalimovCache, 1, 32);
  print_check_option("OwnBook", Options.ownBook);
  printf("option name BookFileName type string default %s\n", Options.bookFileName.c_str());
  const char* styles[] = {"Best", "Variety", "Random"};
  printf("option name BookStyle type combo default %s var Best var Variety var Random\n",
         styles[Options.bookStyle - 1]);
  printf("option name BookMovesScore type spin default %d min %d max %d \n", Options.bookMovesScore, 0, 80);
  print_check_option("ListBookMoves", Options.listBookMoves);
  print_check_option("BookLearn", Options.bookLearn);
  print_check_option("DebugInfoString", BoardConfig.debugInfo);
  print_check_option("UCI_ShowCurrLine", Options.showCurrLine);
  print_check_option("UsePlayLevel", Options.usePlayLevel);
  printf("option name PlayLevel type spin default %d min %d max %d \n", Options.playLevel, 1, 20);
  print_check_option("SSE_Popcount", BoardConfig.ssePopcount);
  print_check_option("SSE_Prefetch", BoardConfig.ssePrefetch);
  printf("uciok\n");
}

// A spin value: at or below zero it takes the minimum, above the maximum the maximum.
int clamp_spin(const std::string& text, int minimum, int maximum) {
  int v = atoi(text.c_str());
  return v <= 0 ? minimum : v > maximum ? maximum : v;
}

// Option echoes are diagnostics: printed only while DebugInfoString is on.
template <typename... Args>
void echo(const char* format, Args... args) {
  if (BoardConfig.debugInfo) printf(format, args...);
}

void echo_switch(const char* name, bool value) {
  if (BoardConfig.debugInfo) printf("info string %s = %s\n", name, bool_text(value));
}

// A new cache size takes effect and is echoed, or, when the memory cannot be had,
// the old table stays in use and the user is told.
void report_resize(ResizeResult result, const char* name, int megabytes, const char* echoFormat) {
  if (result == ResizeResult::Resized && echoFormat) echo(echoFormat, megabytes);
  if (result == ResizeResult::Failed)
    printf("info string error: could not allocate %d MB for the %s, keeping the previous size\n", megabytes, name);
}

ResizeResult eval_resize_result(bool resized) {
  return resized ? ResizeResult::Resized : cache_resize_failed() ? ResizeResult::Failed : ResizeResult::Unchanged;
}

void set_threads(int requested) {
  int maximum = processor_count() < 64 ? processor_count() : 64;
  int count = requested < 1 ? 1 : requested > maximum ? maximum : requested;
  if (count == Options.threads) return;
  set_thread_count(count);
  echo("info string Threads = %d\n", count);
}

void set_option(const std::string& name, const std::string& value) {
  bool on = value == "true";
  if (name == "Hash") {
    int mb = clamp_spin(value, 1, TTMaxMegabytes);
    report_resize(tt_resize(mb), "transposition table", mb, nullptr);  // the table echoes itself
  } else if (name == "EvalHash") {
    int mb = clamp_spin(value, 1, EvalHashMaxMb);
    report_resize(eval_resize_result(eval_cache_resize(mb)), "evaluation cache", mb,
                  "info string Eval Hash size = %d\n");
  } else if (name == "PawnHash") {
    int mb = clamp_spin(value, 1, PawnHashMaxMb);
    report_resize(eval_resize_result(pawn_cache_resize(mb)), "pawn cache", mb, "info string Pawn Hash size = %d\n");
  } else if (name == "MaterialHash") {
    int mb = clamp_spin(value, 1, MaterialHashMaxMb);
    report_resize(eval_resize_result(material_cache_resize(mb)), "material cache", mb,
                  "info string Material Hash size = %d\n");
  } else if (name == "ClearHash") {
    tt_clear();
    echo("%s", "info string ClearHash\n");
  } else if (name == "Ponder") {
    Options.ponder = on;
    echo("info string Ponder = %d\n", on);
  } else if (name == "MultiPV") {
    Options.multiPV = clamp_spin(value, 1, 255);
    echo("info string MultiPV = %d\n", Options.multiPV);
  } else if (name == "UCI_Chess960") {
    BoardConfig.chess960 = on;
    echo("info string UCI_Chess960 = %d\n", on);
  } else if (name == "Castling_OO") {
    BoardConfig.castlingOO = on;
    echo("info string Castling_OO = %d\n", on);
  } else if (name == "Threads") {
    set_threads(atoi(value.c_str()));
  } else if (name == "NalimovPath") {
    Options.nalimovPath = value;
    Options.tablebaseInitPending = true;
    echo("info string NalimovPath = %s\n", value.c_str());
  } else if (name == "NalimovCache") {
    int mb = clamp_spin(value, 1, 32);
    if (mb != Options.nalimovCache) {
      Options.nalimovCache = mb;
      Options.tablebaseInitPending = true;
      echo("info string NalimovCache size = %d\n", mb);
    }
  } else if (name == "UseNalimov") {
    Options.useNalimov = on;
    echo("info string UseNalimov = %d\n", on);
  } else if (name == "OwnBook") {
    Options.ownBook = on;
    echo("info string OwnBook = %d\n", on);
  } else if (name == "BookFileName") {
    Options.bookFileName = value;
    echo("info string BookFileName = %s\n", value.c_str());
  } else if (name == "BookStyle") {
    Options.bookStyle = value == "Best" ? 1 : value == "Random" ? 3 : 2;
    echo("info string BookStyle = %d\n", Options.bookStyle);
  } else if (name == "BookMovesScore") {
    int v = atoi(value.c_str());
    Options.bookMovesScore = v < 0 ? 0 : v > 80 ? 80 : v;
    echo("info string BookMovesScore = %d\n", Options.bookMovesScore);
  } else if (name == "ListBookMoves") {
    Options.listBookMoves = on;
    echo("info string ListBookMoves = %d\n", on);
  } else if (name == "BookLearn") {
    Options.bookLearn = on;
    echo("info string BookLearn = %d\n", on);
  } else if (name == "DebugInfoString") {
    BoardConfig.debugInfo = on;
    echo("info string DebugInfoString = %d\n", on);
  } else if (name == "UCI_ShowCurrLine") {
    Options.showCurrLine = on;
    echo("info string UCI_ShowCurrentLine = %d\n", on);
  } else if (name == "UsePlayLevel") {
    Options.usePlayLevel = on;
    echo_switch("UsePlayLevel", on);
  } else if (name == "PlayLevel") {
    Options.playLevel = clamp_spin(value, 1, 20);
    echo("info string PlayLevel = %d\n", Options.playLevel);
  } else if (name == "SSE_Popcount") {
    BoardConfig.ssePopcount = on;
    echo_switch("SSE_Popcount", on);
  } else if (name == "SSE_Prefetch") {
    BoardConfig.ssePrefetch = on;
    echo_switch("SSE_Prefetch", on);
  }
}

bool is_option_name(const std::string& token) {
  static const char* const names[] = {
      "UCI_EngineAbout", "Hash",         "EvalHash",        "PawnHash",         "MaterialHash", "ClearHash",
      "Ponder",          "MultiPV",      "UCI_Chess960",    "Castling_OO",      "Threads",      "UseNalimov",
      "NalimovPath",     "NalimovCache", "OwnBook",         "BookFileName",     "BookStyle",    "BookMovesScore",
      "ListBookMoves",   "BookLearn",    "DebugInfoString", "UCI_ShowCurrLine", "UsePlayLevel", "PlayLevel",
      "SSE_Popcount",    "SSE_Prefetch"};
  for (const char* name : names)
    if (token == name) return true;
  return false;
}

// Every token naming an option takes the next two as "value" and the value; the
// scan then goes on, so one line may set several options.
void setoption(Tokens& in) {
  std::string token;
  while (in.next(token)) {
    if (!is_option_name(token)) continue;
    std::string word, value;
    in.next(word);
    in.next(value);
    set_option(token, value);
  }
}

[[noreturn]] void quit_uci() {
  if (BoardConfig.debugInfo) printf("info string exit...");
  quit_program();
}

// False when a move of the list is illegal: the interface and the engine no longer
// agree on the game, and the session ends.
bool position(Tokens& in) {
  std::string token;
  bool setUp = true;
  while (in.next(token)) {
    if (token == "startpos") {
      read_fen(GamePosition, StartFen);
      BoardConfig.chess960 = false;
      Options.inBook = true;
    } else if (token == "fen") {
      // A FEN that is no usable position leaves the game as it was, and the moves
      // meant for it are not played on the old position.
      setUp = read_fen(GamePosition, in.rest());
      Options.inBook = false;
      for (int i = 0; i < 4; i++) in.next(token);
    } else if (token == "moves") {
      while (setUp && in.next(token)) {
        Move m = parse_move(GamePosition, token.c_str());
        if (!m) {
          if (BoardConfig.debugInfo) printf("info string illegal move: %s\n", token.c_str());
          return false;
        }
        make_move(GamePosition, m, 1);
      }
    }
  }
  return true;
}

void go(Tokens& in) {
  TimeControl& t = Time;
  t.depthLimit = 119;
  t.infinite = t.movetime = false;
  std::string token, number;
  auto value = [&] { return in.next(number) ? atoi(number.c_str()) : 0; };
  while (in.next(token)) {
    if (token == "infinite") {
      t.infinite = true;
      set_both_clocks(t, MaxClock);
    } else if (token == "ponder") {
      if (Options.ponder) t.infinite = true;
    } else if (token == "wtime") {
      t.side[White].time = value();
    } else if (token == "btime") {
      t.side[Black].time = value();
    } else if (token == "winc") {
      t.side[White].increment = value();
    } else if (token == "binc") {
      t.side[Black].increment = value();
    } else if (token == "movetime") {
      int ms = value();
      for (SideClock& s : t.side) {
        s.time = ms;
        s.movesToGo = 1;
      }
      t.movetime = true;
      t.depthLimit = 119;
    } else if (token == "movestogo") {
      int n = value();
      t.side[White].movesToGo = t.side[Black].movesToGo = n;
    } else if (token == "depth" || token == "mate") {
      int n = value();
      int depth = token == "depth" ? n : 2 * n - 1;
      t.depthLimit = depth < 1 ? 1 : depth > 119 ? 119 : depth;
      set_both_clocks(t, MaxClock, 1);
    }
  }
  go_search(GamePosition);
}

void new_game() {
  read_fen(GamePosition, StartFen);
  Options.inBook = true;
  BoardConfig.chess960 = false;
  tt_clear();
}

}  // namespace

bool uci_command(const std::string& line) {
  Tokens in(line);
  std::string command;
  if (!in.next(command)) return true;
  if (command == "ucinewgame") {
    new_game();
  } else if (command == "quit") {
    return false;
  } else if (command == "isready") {
    printf("readyok\n");
  } else if (command == "setoption") {
    setoption(in);
  } else if (command == "position") {
    return position(in);
  } else if (command == "go") {
    go(in);
  } else if (command == "perft") {
    run_perft(in.rest());
  } else if (command == "eval") {
    print_eval_report(GamePosition);
  }
  return true;
}

void uci_loop() {
  Options.uciMode = true;
  print_identification();
  std::string line;
  // The end of input acts as "quit".
  while (read_line(line, MaxUciLine) && uci_command(line)) {
  }
  quit_uci();
}
