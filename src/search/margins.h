// The margins and constants of the classic search's pruning, reduction and
// extension rules, in one place.
#pragma once

namespace classic {
// Razoring, by depth 1..3: a node this far below alpha can only be saved by tactics.
extern int RazorMargin[4];
// Static null move, by depth 1..6: a node this far above beta stays there.
extern int StaticNullMargin[7];
// Futility, by reduced depth 1..6: how much a quiet move may gain at most.
extern int FutilityMargin[7];
// Late-move pruning, [improving][depth]: quiet moves after this many are skipped.
extern int LateMoveCount[2][16];
// Late-move reductions, [pv][depth][move number].
extern int LmrReduction[2][64][64];

// The deepest node searched; below it only the quiescence search runs.
constexpr int MaxSearchPly = 100;
// Futility adds this to the margin of the reduced depth.
constexpr int FutilityBase = 50;
// Null move: the reduction is 3 + depth / 4, plus one ply per this much of the
// evaluation above beta, at most 3; below this depth its result is trusted
// without a verification search.
constexpr int NullMoveEvalStep = 80;
constexpr int NullMoveVerifyDepth = 12;
// ProbCut: a capture beating beta by this margin at depth - 4.
constexpr int ProbCutMargin = 80;
constexpr int ProbCutDepth = 5;
// Internal iterative deepening: from this depth, in PV nodes or when the static
// evaluation beats beta by the margin.
constexpr int IidDepth = 6;
constexpr int IidMargin = 100;
// Singular extension: from this depth, the hash move alone reaches the table's
// score less this many centipawns per ply of depth.
constexpr int SingularDepth = 8;
constexpr int SingularMarginPerPly = 4;
// Splitting a node between threads pays only from this depth.
constexpr int SplitDepth = 5;
// Quiescence: the deepest ply, and the margin of delta pruning.
constexpr int QuiesceMaxPly = 118;
constexpr int DeltaMargin = 50;

void init_search_tables();
}  // namespace classic
