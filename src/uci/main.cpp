#include <cstring>

#include "search/search.h"
#include "tools/bench.h"
#include "uci/console.h"
#include "uci/front_end.h"

int main(int argc, char** argv) {
  classic::start_program();
  // "veltrix-classic bench": test scripts read the node total as the engine's signature.
  if (argc > 1 && strcmp(argv[1], "bench") == 0) {
    classic::bench(classic::GamePosition);
    classic::quit_program();
  }
  classic::console_loop();
}
