#include "engine/wdl.h"

#include <algorithm>
#include <cmath>

#include "engine/score.h"

namespace {
constexpr int PieceWorth[7] = {0, 1, 3, 3, 5, 9, 0};  // by PieceType; kings count nothing

double cubic(const double (&c)[4], double x) { return c[0] + x * (c[1] + x * (c[2] + x * c[3])); }

int per_mille(double chance) { return int(std::lround(1000 * chance)); }
}  // namespace

int wdl_material(const Position& pos) {
  int sum = 0;
  for (int side : {Black, White})
    for (int type = Pawn; type <= Queen; type++) sum += PieceWorth[type] * pos.PieceCount[side][type];
  return sum;
}

int settled_result(const Position& pos) { return insufficient_material(pos) ? 0 : Unsettled; }

Wdl certain_wdl(int result) { return result > 0 ? Wdl{1000, 0, 0} : result < 0 ? Wdl{0, 0, 1000} : Wdl{0, 1000, 0}; }

Wdl wdl_of_score(const WdlModel& model, int score, int material) {
  if (abs_score(score) > SCORE_MATE_RANGE || is_tb_score(score)) return certain_wdl(score);
  const double x = std::clamp(material, 17, 78) / 58.0;
  const double a = cubic(model.a, x), b = std::max(1.0, cubic(model.b, x));
  const int win = per_mille(1 / (1 + std::exp((a - score) / b)));
  const int loss = per_mille(1 / (1 + std::exp((a + score) / b)));
  // Rounding may leave the two a thousandth over: the draw share gives way.
  return {win, std::max(0, 1000 - win - loss), std::min(loss, 1000 - win)};
}
