// Material balance, game phase and the drawish-ending divisor, per set of piece
// counts, kept in the material cache.
#include <algorithm>

#include "eval/eval_terms.h"

namespace classic {
namespace {
constexpr ScorePair PieceValue[7] = {{0, 0}, {80, 100}, {325, 325}, {325, 325}, {500, 500}, {975, 975}, {0, 0}};
constexpr ScorePair BishopPairBonus = {50, 70};

constexpr int DeadDraw = 16;

ScorePair side_material(const Position& pos, int colour) {
  const int* n = pos.PieceCount[colour];
  int mg = 0, eg = 0;
  for (int type = Pawn; type <= Queen; type++) {
    mg += n[type] * PieceValue[type].mg;
    eg += n[type] * PieceValue[type].eg;
  }
  if (n[Bishop] >= 2) {
    mg += BishopPairBonus.mg;
    eg += BishopPairBonus.eg;
  }
  return {int16_t(mg), int16_t(eg)};
}

// 0 with every piece on the board, 100 with kings and pawns only: each minor counts
// one unit, a rook two and a queen four of the 24 units of the full set.
int game_phase(const Position& pos) {
  const auto& n = pos.PieceCount;
  int units = 24 - 4 * (n[White][Queen] + n[Black][Queen]) - 2 * (n[White][Rook] + n[Black][Rook]) -
              (n[White][Bishop] + n[Black][Bishop]) - (n[White][Knight] + n[Black][Knight]);
  units = std::max(units, 0);
  return std::min((units * 100 + 12) / 24, 100);
}

// The divisor one side's pieces call for in a pawnless ending with `pieces` pieces
// besides the kings; 1 when no rule matches.
int side_scale(const Position& pos, int colour, int pieces) {
  const int* own = pos.PieceCount[colour];
  const int* their = pos.PieceCount[other(colour)];
  int minors = own[Knight] + own[Bishop];
  int theirMinors = their[Knight] + their[Bishop];
  switch (pieces) {
    case 0: return DeadDraw;                    // bare kings
    case 1: return minors == 1 ? DeadDraw : 1;  // a lone minor cannot mate
    case 2:
      if (own[Knight] == 2) return 8;  // two knights cannot force mate
      return minors == 1 && their[Rook] == 1 ? 8 : 1;
    case 3:
      if (minors == 2 && theirMinors == 1) return 4;
      return own[Rook] == 1 && minors == 1 && their[Rook] == 1 ? 2 : 1;
    default: return 1;
  }
}
}  // namespace

int material_scale(const Position& pos) {
  const auto& n = pos.PieceCount;
  if (n[White][Pawn] + n[Black][Pawn]) return 1;
  int pieces = pos.ColourCount[White] + pos.ColourCount[Black] - 2;
  if (pieces > 3) return 1;
  int scale = 1;
  for (int colour = Black; colour <= White; colour++) {
    int s = side_scale(pos, colour, pieces);
    if (s != 1) scale = s;  // a white match replaces a black one
  }
  return scale;
}

MaterialEntry probe_material(const Position& pos) {
  MaterialEntry entry;
  if (material_cache_probe(pos.MaterialKey, pos.ThreadSlot, entry)) return entry;
  entry.checkKey = uint32_t(pos.MaterialKey >> 32);
  entry.material = side_material(pos, White) - side_material(pos, Black);
  entry.phase = uint8_t(game_phase(pos));
  entry.scaleDivisor = uint8_t(material_scale(pos));
  material_cache_store(pos.MaterialKey, pos.ThreadSlot, entry);
  return entry;
}
}  // namespace classic
