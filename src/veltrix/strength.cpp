#include "veltrix/strength.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "veltrix/engine_options.h"
#include "veltrix/report.h"
#include "veltrix/search_state.h"

namespace veltrix {
namespace {
// From this rating on the program plays at full strength: its search alone, on
// the clock, rates about this high at a fast clock.
constexpr int FullStrengthElo = 2700;
// The level at the lowest rating and just below full strength; between them each
// figure moves geometrically (nodes, spread) or evenly (the loss) with the
// rating, so that a few points more are always a little stronger.
constexpr int PlayLines = 4;
constexpr double LowNodes = 3000, HighNodes = 1000000;
constexpr double LowSpread = 120, HighSpread = 5;
constexpr double LowMaxLoss = 250, HighMaxLoss = 20;
// The share of the allotted time a limited player takes over a move with
// alternatives (varied by up to a third either way), and over one without.
constexpr double ThinkShare = 0.6;
constexpr double QuickShare = 0.25;

double random_draw() { return rand() / (RAND_MAX + 1.0); }

double geometric(double low, double high, double x) { return low * std::pow(high / low, x); }

// How far a line lies below the best, or -1 for a line the endgame tables rank lower.
int loss_of(const RootLines& lines, int i) {
  if (lines.line[i].tier != lines.line[0].tier) return -1;
  const int loss = lines.line[0].shownScore - lines.line[i].shownScore;
  return loss > 0 ? loss : 0;
}

bool eligible(const RootLines& lines, const PlayLevel& level, int i) {
  const int loss = loss_of(lines, i);
  return loss >= 0 && loss <= level.maxLoss;
}

int eligible_count(const RootLines& lines, const PlayLevel& level) {
  int n = 0;
  for (int i = 0; i < lines.count; i++) n += eligible(lines, level, i) ? 1 : 0;
  return n;
}
}  // namespace

bool strength_limited() { return Engine.limitStrength && Engine.playElo < FullStrengthElo; }

PlayLevel play_level(int elo) {
  const double x = double(std::clamp(elo, MinPlayElo, FullStrengthElo) - MinPlayElo) / (FullStrengthElo - MinPlayElo);
  return {PlayLines, uint64_t(geometric(LowNodes, HighNodes, x)), geometric(LowSpread, HighSpread, x),
          int(std::lround(LowMaxLoss + (HighMaxLoss - LowMaxLoss) * x))};
}

int choose_line(const RootLines& lines, const PlayLevel& level, double draw) {
  double weight[MaxRootLines], total = 0;
  for (int i = 0; i < lines.count; i++) {
    weight[i] = eligible(lines, level, i) ? std::exp(-loss_of(lines, i) / level.spread) : 0;
    total += weight[i];
  }
  double pick = draw * total;
  for (int i = 0; i < lines.count; i++) {
    pick -= weight[i];
    if (weight[i] > 0 && pick < 0) return i;
  }
  return 0;
}

uint64_t settle_on_line(const PlayLevel& level) {
  const RootLines& lines = Search.lines;
  int choices = 1;
  if (lines.count > 0) {
    choices = eligible_count(lines, level);
    const int chosen = choose_line(lines, level, random_draw());
    if (chosen > 0) {
      copy_moves(Search.pv, lines.line[chosen].pv, MaxSearchPly);
      Search.rootScore = lines.line[chosen].score;
      line_played(lines.line[chosen]);
    }
  }
  if (!Clock.clockRuns) return 0;
  // Over an only move, or a recapture that nothing else comes near, a player does
  // not ponder long.
  const double share = choices > 1 ? ThinkShare * (2.0 / 3 + 2.0 / 3 * random_draw()) : QuickShare;
  return uint64_t(Clock.allotted * share);
}
}  // namespace veltrix
