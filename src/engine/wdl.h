// Win, draw and loss chances from a search score, for interfaces that show them
// beside the score: the same score means a surer win with little material left
// (fewer pieces, fewer ways back) and a likelier draw with much. One mechanism;
// each engine fits its own parameters to its own games, since their scores are
// scaled differently.
#pragma once

#include "board/position.h"

// For material x (pawn 1, knight and bishop 3, rook 5, queen 9, both sides, as a
// share of the start position's 78, clamped to 17..78) and score s in centipawns:
//   win = 1 / (1 + exp((a(x) - s) / b(x))), loss = 1 / (1 + exp((a(x) + s) / b(x)))
// with cubic a (the score at which a win is as likely as not) and b (how quickly the
// chances turn with the score), x = material / 58.
struct WdlModel {
  double a[4];
  double b[4];
};

// Per mille for the side to move, summing to 1000.
struct Wdl {
  int win, draw, loss;
};

int wdl_material(const Position& pos);
// A mate score or an endgame table's win or loss is certain; other scores go
// through the model.
Wdl wdl_of_score(const WdlModel& model, int score, int material);
// A result settled beyond doubt: 1 win, 0 draw, -1 loss.
Wdl certain_wdl(int result);
// What the position itself settles, whatever the search says: a draw when no side
// has the men left to mate, else Unsettled.
constexpr int Unsettled = 2;
int settled_result(const Position& pos);
