#include "engine/search_signals.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"

SearchSignals Signals;

void read_search_command(void (*ponderhit)()) {
  std::string line;
  if (!read_line(line, 8191)) return;
  if (line == "stop") stop_search();
  if (line == "quit") request_quit();
  if (line == "ponderhit") ponderhit();
  // An interface asks while the search runs, and must not wait for its end.
  if (line == "isready") printf("readyok\n");
}
