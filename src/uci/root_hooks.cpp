// The opening book and the endgame tables at the root of the search.
#include <cstdio>

#include "book/book.h"
#include "egtb/tablebase.h"
#include "search/hooks.h"
#include "search/tt.h"
#include "uci/front_end.h"

namespace classic {
void finish_pending_set_up() {
  allocate_tables();
  if (TablebaseConfig.setupPending) set_up_tablebases();
}

void set_up_tablebases() {
  if (FrontEnd.uciMode) printf("info string egtb init...\n");
  const TablebaseSetup setup = init_tablebases();
  if (!FrontEnd.uciMode) return;
  if (setup == TablebaseSetup::NoTables)
    printf("info string error load egtbs: %s\n", "Could not find table bases");
  else if (setup == TablebaseSetup::NoCache)
    printf("info string error load egtbs: %s\n", "Could not set cache");
  else
    printf("info string egtb %d man loaded, %s.\n\n", Tablebases.maxPieces, "Everything was OK");
}

void install_root_hooks() { Hooks = {finish_pending_set_up, book_root_move, learn_root_result}; }
}  // namespace classic
