#include "veltrix/margins.h"

#include <cmath>

namespace veltrix {
namespace {
// [pv][depth][move count], both clamped to 1..63.
int Reduction[2][64][64];

// Single precision throughout, as the reduction rule is defined.
int reduction_of(int depth, int moveCount, bool pvNode) {
  float x = float(std::log(double(depth)) * std::log(double(moveCount)));
  float y = pvNode ? x / 3.0f : x / 2.25f + 0.33f;
  return y >= 1.0f ? int(y + 0.5f) : 0;
}

int clamp63(int v) { return v < 1 ? 1 : v > 63 ? 63 : v; }
}  // namespace

void init_search_tables() {
  // Deep nodes search their late moves shallower, the later the more;
  // principal-variation nodes less so.
  for (int pv = 0; pv < 2; pv++)
    for (int d = 1; d < 64; d++)
      for (int m = 1; m < 64; m++) Reduction[pv][d][m] = reduction_of(d, m, pv);
}

int base_reduction(int depth, int moveCount, bool pvNode) {
  return Reduction[pvNode][clamp63(depth)][clamp63(moveCount)];
}
}  // namespace veltrix
