#include "veltrix/strength.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "veltrix/engine_options.h"
#include "veltrix/report.h"
#include "veltrix/search_state.h"

namespace veltrix {
namespace {
// From this rating on the program plays at full strength: its search alone, on
// the clock, rates about this high at a fast clock.
constexpr int FullStrengthElo = 2700;

// Levels measured against the reference scale at 10+0.1 (scripts/strength-check.sh);
// between two of them each figure moves geometrically (nodes, spread) or evenly
// (lines, the loss) with the rating, so that a few points more are always a
// little stronger. The last is the level just below full strength, which
// searches fewer lines: each line costs depth, and there the clock, not the
// budget, decides how deep the search goes.
struct Anchor {
  int elo;
  double lines, nodes, spread, maxLoss;
};
constexpr Anchor Anchors[] = {
    {MinPlayElo, 4, 5000, 100, 220},
    {1800, 4, 40000, 38, 160},
    {2300, 4, 600000, 10, 60},
    {FullStrengthElo, 2, 3000000, 3, 15},
};
// The share of the allotted time a limited player takes over a move with
// alternatives (varied by up to a third either way), and over one without.
constexpr double ThinkShare = 0.6;
constexpr double QuickShare = 0.25;

// Seeded afresh at every start: a limited player that answered the same game
// with the same moves every time would be learnt by heart.
double random_draw() {
  static std::mt19937 generator{std::random_device{}()};
  return std::uniform_real_distribution<double>(0, 1)(generator);
}

double geometric(double low, double high, double x) { return low * std::pow(high / low, x); }
double even(double low, double high, double x) { return low + (high - low) * x; }

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
  elo = std::clamp(elo, MinPlayElo, FullStrengthElo);
  int i = 0;
  while (Anchors[i + 1].elo < elo) i++;
  const Anchor& low = Anchors[i];
  const Anchor& high = Anchors[i + 1];
  const double x = double(elo - low.elo) / (high.elo - low.elo);
  return {int(std::lround(even(low.lines, high.lines, x))), uint64_t(geometric(low.nodes, high.nodes, x)),
          geometric(low.spread, high.spread, x), int(std::lround(even(low.maxLoss, high.maxLoss, x)))};
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
