// The terms of the classic evaluation. Each returns White's value minus Black's
// as a middlegame/endgame pair; the driver sums and blends them.
#pragma once

#include "board/position.h"
#include "engine/attack_info.h"
#include "eval/eval_cache.h"

namespace classic {
// Passed-pawn bonus by relative rank.
constexpr int PassedPawnBonus[8] = {0, 5, 10, 30, 60, 90, 100, 0};

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
}  // namespace classic
