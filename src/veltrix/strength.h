// Play at a chosen rating (UCI_LimitStrength with UCI_Elo): a search of a few
// lines on a budget of nodes that grows with the rating, then a choice among the
// lines that errs more the lower the rating, but never takes a move much worse
// than the best, and an answer after a pause, as a player of that rating would
// think over a move.
#pragma once

#include <cstdint>

#include "engine/root_lines.h"

namespace veltrix {
// The ratings UCI_Elo offers.
constexpr int MinPlayElo = 1350;
constexpr int MaxPlayElo = 2850;

struct PlayLevel {
  int lines;       // the root lines searched to choose among
  uint64_t nodes;  // what the search may spend, all threads together
  double spread;   // centipawns: a line this much below the best is chosen e^-1 as often
  int maxLoss;     // centipawns: a line further below the best is never chosen
};

// Whether the options ask for a rating below the program's full strength.
bool strength_limited();
// The level of a rating below full strength, each figure a smooth function of it.
PlayLevel play_level(int elo);
// The line played among the ranked lines (at least one), given a number drawn
// evenly from [0, 1): the best, or one not more than the level's loss below it
// and of the endgame tables' rank of the best, the worse the rarer.
int choose_line(const RootLines& lines, const PlayLevel& level, double draw);
// After the search of a limited player: the line it chose becomes the search's
// principal variation and is reported when it is not the first. Returns the
// milliseconds of the search after which the answer is due: some of the allotted
// time, less for a move without alternative; 0 when "go" named no clock.
uint64_t settle_on_line(const PlayLevel& level);
}  // namespace veltrix
