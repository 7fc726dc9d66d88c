#include "search/split.h"

// Without helper threads there is nobody to share the work with.
bool try_split(Position&, MovePicker&, const SplitRequest&, int&, Move&) { return false; }

void wake_helpers() {}

void sleep_helpers() {}
