// The evaluation driver: the evaluation cache, the sum of the terms, the lazy
// answer, the blend of the middlegame and endgame halves and the draw scaling.
#include "eval/evaluate.h"

#include "eval/eval_terms.h"

namespace classic {
namespace {
// The side to move gains about a third of a pawn from the move in hand.
constexpr ScorePair Tempo = {20, 10};
// How far outside the window the cheap terms must leave the score for the costly
// attack terms to be skipped.
constexpr int LazyMargin = 150;
constexpr int DeadDraw = 16;

// Everything but the cache. `complete` is false for the draw and the lazy answers,
// which must not be cached.
int score_position(const Position& pos, int alpha, int beta, bool allowLazy, bool& complete) {
  complete = false;
  ScorePair sum = tempo_bonus(pos.SideToMove);
  const MaterialEntry material = probe_material(pos);
  if (material.scaleDivisor == DeadDraw) return 0;
  sum += material.material;
  sum += pos.PsqScore[White] - pos.PsqScore[Black];
  sum += evaluate_patterns(pos);
  const PawnCacheEntry pawns = probe_pawns(pos);
  sum += pawns.pawnScore;
  sum += evaluate_passed_pawns(pos, pawns);

  if (allowLazy) {
    int v = blend_score(sum, material.phase, material.scaleDivisor, pos.SideToMove);
    if (v + LazyMargin < alpha || v - LazyMargin > beta) return v;
  }

  AttackInfo info;
  init_attack_info(pos, info);
  sum += evaluate_pieces(pos, info, pawns);
  sum.mg = int16_t(sum.mg + evaluate_king_safety(pos, info, pawns));
  sum += evaluate_hanging(pos, info);
  complete = true;
  return blend_score(sum, material.phase, material.scaleDivisor, pos.SideToMove);
}
}  // namespace

ScorePair tempo_bonus(int sideToMove) { return sideToMove == White ? Tempo : ScorePair{} - Tempo; }

int blend_score(ScorePair sum, int phase, int scaleDivisor, int sideToMove) {
  int v = ((100 - phase) * sum.mg + phase * sum.eg) / 100;
  if (scaleDivisor >= 2 && scaleDivisor <= DeadDraw) v /= scaleDivisor;
  return sideToMove == White ? v : -v;
}

int evaluate(const Position& pos, int alpha, int beta, int allowLazy) {
  int score;
  if (eval_cache_probe(pos.HashKey, pos.ThreadSlot, score)) return score;
  bool complete;
  score = score_position(pos, alpha, beta, allowLazy != 0, complete);
  if (complete) eval_cache_store(pos.HashKey, pos.ThreadSlot, score);
  return score;
}

int evaluate_uncached(const Position& pos) {
  bool complete;
  return score_position(pos, 0, 0, false, complete);
}
}  // namespace classic
