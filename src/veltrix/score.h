// The score scale of veltrix's search and the conversion of mate scores to and
// from the transposition table.
#pragma once

// Being mated at ply p scores p - ScoreMate; the positions after the root moves
// are ply 1, so a mate in one scores 31999.
constexpr int ScoreMate = 32000;
// Scores beyond this (in absolute value) announce a mate.
constexpr int ScoreMateRange = 31000;
// From here on a score is decisive and the material-based pruning leaves it alone.
constexpr int ScoreDecisive = 10000;
// No value: an empty table slot, or a static evaluation that was not made.
constexpr int ScoreNone = 30777;
// The widest window, and the starting best value of every node.
constexpr int ScoreInfinite = 32700;

constexpr int mated_in(int ply) { return ply - ScoreMate; }

// Mate scores count from the root, but a table entry serves every path to its
// position: stored, they count from the position itself, so a mate found through
// one path keeps its true distance when reached through a shorter or longer one.
// ScoreNone lies inside the mate bounds and passes unchanged.
constexpr int score_to_table(int score, int ply) {
  if (score > ScoreMateRange) return score + ply;
  if (score < -ScoreMateRange) return score - ply;
  return score;
}

constexpr int score_from_table(int score, int ply) {
  if (score > ScoreMateRange) return score - ply > ScoreMate ? ScoreMate : score - ply;
  if (score < -ScoreMateRange) return score + ply < -ScoreMate ? -ScoreMate : score + ply;
  return score;
}

constexpr int abs_score(int v) { return v < 0 ? -v : v; }
