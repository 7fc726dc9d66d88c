#include "veltrix/console.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "nnue/nnue.h"
#include "platform/platform.h"
#include "veltrix/engine_options.h"
#include "veltrix/evaluation.h"
#include "veltrix/fallback_eval.h"
#include "veltrix/hash_table.h"
#include "veltrix/identity.h"
#include "veltrix/network_choice.h"
#include "veltrix/search_state.h"
#include "veltrix/threads.h"
#include "veltrix/uci.h"

namespace veltrix {
Position GamePosition;

namespace {
constexpr int MaxConsoleLine = 4095;
}  // namespace

void set_up_start_position() {
  read_fen(GamePosition, StartFen, Dialect::Veltrix);
  BoardConfig.chess960 = false;
  BoardConfig.castlingOO = false;
}

void print_evaluation(const Position& pos) { printf("eval: %d\n", evaluate(pos)); }

void start_veltrix() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  srand(unsigned(time(nullptr)));
  init_tables();
  init_search_tables();
  init_fallback_tables();
  printf("\n%s %s %s\n", EngineName, EngineDate, EnginePlatform);
  printf("by %s \n\n", EngineAuthor);
  TT.defer(TableDefaultMegabytes);
  load_start_network();
  set_up_start_position();
}

void quit_veltrix() {
  stop_helpers(Pool);
  TT.release();
  printf("info string exit...");
  exit(0);
}

void veltrix_console_loop() {
  std::string line;
  while (read_line(line, MaxConsoleLine)) {
    Engine.pondering = 0;
    if (line == "uci") uci_loop();
    if (line == "quit") quit_veltrix();
    if (line == "help" || line == "?")
      printf("\nuci  .......... switch to uci protocol\nquit .......... exit this program\n");
    if (line == "eval") print_evaluation(GamePosition);
  }
  // The end of the input leaves the program as "quit" does.
  quit_veltrix();
}
}  // namespace veltrix
