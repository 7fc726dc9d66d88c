#include "uci/console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "board/movegen.h"
#include "board/movetext.h"
#include "board/perft.h"
#include "book/book.h"
#include "book/book_tools.h"
#include "eval/evaluate.h"
#include "platform/platform.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/tt.h"
#include "tools/bench.h"
#include "tools/selfplay.h"
#include "uci/front_end.h"
#include "uci/uci.h"

namespace classic {
Position GamePosition;
FrontEndState FrontEnd;

namespace {
constexpr int MaxConsoleLine = 4095;
constexpr int MaxClock = 36000000;

const char* const HelpText =
    "\n"
    "uci  .......... switch to uci mode\n"
    "new  .........  new game starting\n"
    "makebook ...... generating a new book from PGN games\n"
    "addbook ....... add more moves to the old book from PGN games\n"
    "sbook ......... analyse and score book moves\n"
    "bench ......... bench test\n"
    "sd ............ set depth\n"
    "st ............ set time\n"
    "sp ............ selfplay games\n"
    "go ............ start search\n"
    "quit .......... exit program\n"
    "e2e4 .......... make move\n\n";

bool is_file(char c) { return c >= 'a' && c <= 'h'; }
bool is_rank(char c) { return c >= '1' && c <= '8'; }

// The number the user types after "sd" or "st"; text that is no number keeps `current`.
int read_number(int current) {
  std::string line;
  int value;
  if (read_line(line, MaxConsoleLine) && sscanf(line.c_str(), "%d", &value) == 1) return value;
  return current;
}

void set_depth() {
  printf("depth = ");
  int depth = read_number(Time.depthLimit);
  depth = depth < 1 ? 1 : depth > 119 ? 119 : depth;
  Time.depthLimit = depth;
  set_both_clocks(Time, MaxClock);
  Time.clocked = false;
  printf("\ndepth set to = %d\n", depth);
}

void set_time() {
  printf("time sec = ");
  int seconds = read_number(Time.side[White].time / 1000);
  seconds = seconds < 1 ? 1 : seconds > MaxClock ? MaxClock : seconds;
  long long ms = seconds * 1000LL;
  set_both_clocks(Time, int(ms > MaxClock ? MaxClock : ms));
  Time.infinite = false;
  Time.clocked = true;
  Time.depthLimit = 119;
  printf("\ntime set to = %d\n", seconds);
}

// The tables keep what earlier games taught them; only the ages start again.
void new_game() {
  BoardConfig.chess960 = false;
  set_up_start_position();
  TT.restart_age();
}

void typed_move(const std::string& line) {
  Move m = parse_move(GamePosition, line.c_str());
  if (!m) return;
  make_move(GamePosition, m, 1);
  print_board(GamePosition);
}
}  // namespace

void set_up_start_position() {
  // In Chess960 mode castling rights are read from rook files only, so the standard
  // array, one of the 960, names its rooks that way to keep its four castlings.
  read_fen(GamePosition, BoardConfig.chess960 ? "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha -" : StartFen);
  BookConfig.gameFromStart = true;
}

void run_perft(const char* args) {
  int depth = atoi(args);
  perft_divide(GamePosition, depth < 0 ? 0 : depth > 20 ? 20 : depth);
}

void start_program() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  srand(unsigned(time(nullptr)));
  init_tables();
  init_search();
  install_reports();
  install_root_hooks();
  GamePosition.ThreadSlot = 0;
  new_game();
  printf("%s %s %s %s\n", "Veltrix", "8.0", "Jan. 2017", "x64");
  printf("by %s \n", "Brenmoor");
}

void console_loop() {
  std::string line;
  while (read_line(line, MaxConsoleLine)) {
    Time.infinite = false;
    if (line == "uci") {
      uci_loop();
    } else if (line == "new") {
      new_game();
    } else if (line == "makebook") {
      makebook_command();
    } else if (line == "addbook") {
      addbook_command();
    } else if (line == "sbook") {
      sbook_command(GamePosition);
    } else if (line == "bench") {
      bench(GamePosition);
    } else if (line == "sd") {
      set_depth();
    } else if (line == "st") {
      set_time();
    } else if (line == "sp") {
      selfplay(GamePosition);
    } else if (line == "quit") {
      quit_program();
    } else if (line == "go") {
      go_search(GamePosition);
      print_board(GamePosition);
    } else if (line == "eval") {
      print_eval_report(GamePosition);
    } else if (line == "help" || line == "?") {
      printf("%s", HelpText);
    } else if (line.compare(0, 6, "perft ") == 0) {
      run_perft(line.c_str() + 6);
    } else if (line.size() >= 4 && is_file(line[0]) && is_rank(line[1]) && is_file(line[2]) && is_rank(line[3])) {
      typed_move(line);
    }
  }
  quit_program();
}
}  // namespace classic
