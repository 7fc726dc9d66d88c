#include "engine/search_signals.h"

SearchSignals Signals;
