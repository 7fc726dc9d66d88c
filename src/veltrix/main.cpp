#include <cstring>

#include "veltrix/bench.h"
#include "veltrix/console.h"

int main(int argc, char** argv) {
  veltrix::start_veltrix();
  if (argc > 1 && strcmp(argv[1], "bench") == 0) return veltrix::run_bench(argc - 2, argv + 2);
  veltrix::veltrix_console_loop();
}
