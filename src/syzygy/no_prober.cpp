// The prober of a build without the probing library: it finds no tables.
#include "syzygy/prober.h"

int open_tables(const std::string&) { return 0; }
bool probe_outcome(const Position&, TbOutcome&) { return false; }
bool rank_moves(const Position&, const MoveList&, bool, int[]) { return false; }
TbOutcome outcome_of_rank(int) { return TbOutcome::Draw; }
