// How the main thread tells a running search to end. Only the main thread writes
// these; every search thread reads `stop`.
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
