// The settings records of veltrix-classic, as a test finds and leaves them.
#pragma once

#include "book/book.h"
#include "egtb/tablebase.h"
#include "search/hooks.h"
#include "search/limits.h"
#include "uci/front_end.h"

// Puts every record back as it was when the guard was made.
struct ClassicConfigGuard {
  classic::SearchSettings search = classic::SearchConfig;
  classic::BookSettings book = classic::BookConfig;
  TablebaseSettings tablebases = TablebaseConfig;
  classic::FrontEndState frontEnd = classic::FrontEnd;
  classic::TimeControl time = classic::Time;
  ~ClassicConfigGuard() {
    classic::SearchConfig = search;
    classic::BookConfig = book;
    TablebaseConfig = tablebases;
    classic::FrontEnd = frontEnd;
    classic::Time = time;
  }
};

// The records as the program starts with them.
inline void reset_classic_config() {
  classic::SearchConfig = {};
  classic::BookConfig = {};
  TablebaseConfig = {};
  classic::FrontEnd = {};
  classic::Time = {};
}
