// The front end of veltrix-classic: the game it plays, the state of the protocol,
// and what the program does around its search.
#pragma once

#include "board/position.h"
#include "protocol/options.h"

namespace classic {
struct FrontEndState {
  bool uciMode = false;  // set when the identification is printed
  bool ponder = true;    // "go ponder" starts a pondering search
  bool showWdl = false;  // score lines carry the win/draw/loss chances
};

extern FrontEndState FrontEnd;
// The game position: set up by "position", "new" and typed moves, searched by "go".
extern Position GamePosition;

// Every option of the program, as the identification lists them.
const OptionList& classic_options();

// The search's reports in the UCI form or, before "uci", in the console form.
void install_reports();
// The book and the tablebases at the root of the search.
void install_root_hooks();
// The tablebases found anew after their options changed (and reported in UCI mode).
void set_up_tablebases();
// What is still to be set up before a search: the tablebases after their options
// changed. "isready" does it, so that a game's first move does not pay for it; the
// search does it when no "isready" came.
void finish_pending_set_up();
}  // namespace classic
