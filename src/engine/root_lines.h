// The best lines at the root when an interface asks for several: each a root
// move with its continuation and score, ranked best first. Both searches fill
// them and both front ends report them the same way.
#pragma once

#include "board/position.h"

// The most lines a search keeps: more than any position has legal moves.
constexpr int MaxRootLines = 256;

struct RootLine {
  // The endgame tables' rank of the root move while they know the root (0 when
  // they do not): a line of a better rank stands above, whatever the scores.
  int tier = 0;
  // What the report shows: the tables' verdict for the move while they know the
  // root, else the search's score.
  int shownScore = 0;
  int score = 0;  // the search's score, for the side to move
  int depth = 0, selDepth = 0;
  Move pv[MaxPly] = {};  // the root move, then its continuation, 0-terminated
};

struct RootLines {
  int count = 0;
  RootLine line[MaxRootLines];  // best first
};

// Puts `line` in its place among the lines: below those of a better tier, a
// higher shown score or, both equal, a higher search score, and below those equal
// in all three, which were there first. At most `limit` lines are kept. False when
// the line ranks below them all and there are already `limit` lines.
bool rank_line(RootLines& lines, int limit, const RootLine& line);
// Copies a 0-terminated line of moves into room for `room` entries, cutting it
// when it does not fit.
void copy_moves(Move* to, const Move* from, int room);
