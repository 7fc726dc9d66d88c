// The score scale both searches share: centipawns for the side to move, with mate
// scores counted in plies from the root. Each engine adds its own "no value" and
// widest-window constants (SCORE_NONE, SCORE_INFINITE) in its namespace.
#pragma once

// Being mated at ply p scores p - SCORE_MATE; the root is ply 1.
constexpr int SCORE_MATE = 32000;
// Scores beyond this (in absolute value) announce a mate.
constexpr int SCORE_MATE_RANGE = 31000;
// From here on a score is decisive: material will not decide the game any more,
// so the material-based pruning rules leave such values alone.
constexpr int SCORE_DECISIVE = 10000;

// A win the endgame tables prove for the side to move at ply p scores
// SCORE_TB_WIN - p: below every mate the search can see, above every evaluation
// and decisive, and higher the nearer the root it is met.
constexpr int SCORE_TB_WIN = 20000;
// Scores this near to SCORE_TB_WIN or its opposite are such wins and losses, or
// bounds the search set on them.
constexpr int SCORE_TB_SPREAD = 1000;

constexpr int mated_in(int ply) { return ply - SCORE_MATE; }
constexpr int tb_win_at(int ply) { return SCORE_TB_WIN - ply; }
constexpr int abs_score(int v) { return v < 0 ? -v : v; }
constexpr bool is_tb_score(int v) { return abs_score(abs_score(v) - SCORE_TB_WIN) < SCORE_TB_SPREAD; }

// Mate scores count from the root, but a table entry serves every path to its
// position: stored, they count from the position itself, so that a mate found
// through one path keeps its true distance when reached through a shorter or
// longer one. The endgame tables' wins count the same way. The "no value" scores
// lie between the two ranges and pass unchanged.
constexpr int score_to_table(int score, int ply) {
  if (score > SCORE_MATE_RANGE || (is_tb_score(score) && score > 0)) return score + ply;
  if (score < -SCORE_MATE_RANGE || (is_tb_score(score) && score < 0)) return score - ply;
  return score;
}

constexpr int score_from_table(int score, int ply) {
  if (score > SCORE_MATE_RANGE) return score - ply > SCORE_MATE ? SCORE_MATE : score - ply;
  if (score < -SCORE_MATE_RANGE) return score + ply < -SCORE_MATE ? -SCORE_MATE : score + ply;
  if (is_tb_score(score)) return score > 0 ? score - ply : score + ply;
  return score;
}
