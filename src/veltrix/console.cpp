#include "veltrix/console.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "nnue/nnue.h"
#include "platform/platform.h"

Position GamePosition;

namespace {

constexpr int MaxConsoleLine = 4095;

const char* const EngineName = "Veltrix v9.0";
const char* const EngineDate = "Dec 15 2020";
const char* const EnginePlatform = "x64";
const char* const EngineAuthor = "Brenmoor";

}  // namespace

void start_veltrix() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  srand(unsigned(time(nullptr)));
  init_tables();
  printf("\n%s %s %s\n", EngineName, EngineDate, EnginePlatform);
  printf("by %s \n\n", EngineAuthor);
  NnueLoaded = 0;
  init_network(DefaultNetworkFile);
  BoardConfig.chess960 = false;
  BoardConfig.castlingOO = false;
  read_fen(GamePosition, StartFen, Dialect::Veltrix);
}

void quit_veltrix() {
  printf("info string exit...");
  exit(0);
}

void veltrix_console_loop() {
  std::string line;
  while (read_line(line, MaxConsoleLine)) {
    if (line == "quit") quit_veltrix();
    if (line == "help" || line == "?")
      printf("\nuci  .......... switch to uci protocol\nquit .......... exit this program\n");
    // "uci" would hand over to the protocol loop, which this build does not have
    // yet; like every other word it is ignored.
  }
  // The end of the input leaves the program as "quit" does.
  quit_veltrix();
}
