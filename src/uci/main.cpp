#include <cstring>

#include "tools/bench.h"
#include "uci/console.h"

int main(int argc, char** argv) {
  start_program();
  // "veltrix-classic bench": test scripts read the node total as the engine's signature.
  if (argc > 1 && strcmp(argv[1], "bench") == 0) {
    bench(GamePosition);
    quit_program();
  }
  console_loop();
}
