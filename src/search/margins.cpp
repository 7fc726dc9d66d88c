#include "search/margins.h"

#include <cmath>

namespace classic {
int RazorMargin[4];
int StaticNullMargin[7];
int FutilityMargin[7];
int LateMoveCount[2][16];
int LmrReduction[2][64][64];

void init_search_tables() {
  for (int d = 0; d < 4; d++) RazorMargin[d] = 200 + 20 * d;
  for (int d = 0; d < 7; d++) {
    StaticNullMargin[d] = 60 * d;
    FutilityMargin[d] = 80 * d;
  }
  for (int d = 0; d < 16; d++) {
    LateMoveCount[0][d] = int(std::pow(double(d), 1.8) * 0.8) + 3;
    LateMoveCount[1][d] = int(std::pow(double(d), 1.8) * 1.0) + 3;
  }
  // Late moves of deep nodes are searched shallower, the more so the later the move;
  // principal-variation nodes are reduced less.
  for (int d = 0; d < 64; d++)
    for (int m = 0; m < 64; m++) {
      LmrReduction[0][d][m] = LmrReduction[1][d][m] = 0;
      if (d < 3 || m < 2) continue;
      double x = std::log(double(d)) * std::log(double(m));
      if (x * 0.5 >= 1.0) LmrReduction[0][d][m] = int(std::round(x * 0.5));
      if (x / 3 >= 1.0) LmrReduction[1][d][m] = int(std::round(x / 3));
    }
}
}  // namespace classic
