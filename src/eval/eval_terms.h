// The terms of the classic evaluation. Each returns White's value minus Black's
// as a middlegame/endgame pair; the driver sums and blends them.
#pragma once

#include "board/position.h"
#include "eval/eval_cache.h"

// The attack sets gathered while the pieces are scored, reused by the king attack
// and the hanging-piece terms. One per evaluation, on the caller's stack.
struct AttackInfo {
  Bitboard attacksBy[2][7];  // per colour and piece type; index 0 unused
  Bitboard allAttacks[2];
  int kingAttackEnabled[2];  // a queen and at least three pieces besides pawns, king included
  int kingAttackers[2];      // pieces hitting the enemy king zone
  int kingAttackWeight[2];
};

// Passed-pawn bonus by relative rank.
constexpr int PassedPawnBonus[8] = {0, 5, 10, 30, 60, 90, 100, 0};

// The square seen from the colour's side of the board (White's squares as given).
constexpr int relative_square(int colour, int sq) { return colour == White ? sq : FlipSquare(sq); }
constexpr int push_step(int colour) { return colour == White ? 8 : -8; }

// Material (material.cpp).
MaterialEntry probe_material(const Position& pos);
int material_scale(const Position& pos);

// Pawns (pawns.cpp, passed_pawns.cpp).
PawnCacheEntry probe_pawns(const Position& pos);
int king_shelter(const Position& pos, int colour);
ScorePair evaluate_passed_pawns(const Position& pos, const PawnCacheEntry& entry);

// Trapped and blocked pieces (patterns.cpp).
ScorePair evaluate_patterns(const Position& pos);

// Pieces and attacks (pieces.cpp, outpost.cpp, king_safety.cpp, hanging.cpp).
void init_attack_info(const Position& pos, AttackInfo& info);
ScorePair evaluate_pieces(const Position& pos, AttackInfo& info, const PawnCacheEntry& entry);
int evaluate_outpost(const Position& pos, int sq, int colour);
int evaluate_king_safety(const Position& pos, const AttackInfo& info, const PawnCacheEntry& entry);
ScorePair evaluate_hanging(const Position& pos, const AttackInfo& info);

// The driver's pieces (evaluate.cpp).
ScorePair tempo_bonus(int sideToMove);
// The white-minus-black sum weighted by the phase, scaled down by the divisor and
// turned to the side to move's view; every division truncates toward zero.
int blend_score(ScorePair sum, int phase, int scaleDivisor, int sideToMove);
// The full evaluation without the evaluation cache (the pawn and material caches
// are still used): for the report and for measuring.
int evaluate_uncached(const Position& pos);
