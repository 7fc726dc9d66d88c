// How the main thread tells a running search to end, and the commands it reads
// while one runs. Only the main thread writes these; every search thread reads
// `stop`.
#pragma once

#include <atomic>

struct SearchSignals {
  // The search must end now ("stop", the clock, "quit").
  std::atomic<bool> stop{false};
  // "quit" arrived during the search: the program ends once every thread has left
  // the search, since a helper may be waiting for the main thread deep inside it.
  bool quitRequested = false;
};

extern SearchSignals Signals;

inline void stop_search() { Signals.stop.store(true, std::memory_order_relaxed); }
inline void request_quit() {
  Signals.quitRequested = true;
  stop_search();
}

// Reads one waiting input line during a search: "stop" and "quit" end the search,
// "ponderhit" calls `ponderhit`, "isready" is answered at once; every other line
// is lost.
void read_search_command(void (*ponderhit)());
