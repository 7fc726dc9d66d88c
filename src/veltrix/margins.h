// The margins and constants of veltrix's pruning, reduction and extension rules,
// in one place.
#pragma once

namespace veltrix {
// Plies from the root; a node this deep is not searched further.
constexpr int MaxSearchPly = 100;

// Razoring, below depth 4: a node this far below alpha can only be saved by captures.
constexpr int razor_margin(int depth) { return 200 + 10 * depth; }
// Static null move, below depth 7: a node this far above beta stays there.
constexpr int static_null_margin(int depth) { return 80 * depth; }
// Futility, below reduced depth 7: the most a quiet move may gain.
constexpr int futility_margin(int depth) { return 50 + 80 * depth; }
// Late-move pruning: below depth 16, quiet moves after 2^depth are skipped.
constexpr int late_move_count(int depth) { return 1 << depth; }
// Null move: one ply more of reduction per this much of the evaluation above
// beta, at most 3; below this depth its result is trusted without verification.
constexpr int NullMoveEvalStep = 80;
constexpr int NullMoveVerifyDepth = 12;
// ProbCut: a capture beating beta by this margin at depth - 4; captures that
// cannot come near beta with the captured piece added are not tried.
constexpr int ProbCutMargin = 80;
constexpr int ProbCutDepth = 5;
constexpr int CaptureFutilityBase = 50;
// Internal iterative deepening, from these depths; a cut node only when its
// evaluation is within the margin of beta.
constexpr int IidDepthPv = 5;
constexpr int IidDepthCut = 8;
constexpr int IidMargin = 100;
// Singular extension: from this depth, the hash move alone reaches the table's
// score less this many centipawns per ply of depth.
constexpr int SingularDepth = 8;
constexpr int SingularMarginPerPly = 2;
// Splitting a node between threads pays only from this depth.
constexpr int SplitDepth = 5;
// A pawn move that reaches the sixth rank or beyond with no enemy pawn to stop it
// is never pruned (0-based rank from the mover's side).
constexpr int FreePawnRank = 5;
// The half-width of the first aspiration window.
constexpr int AspirationWindow = 6;

// Start-up: the late-move reduction table.
void init_search_tables();
// Late-move reduction for a move of the given number at the given depth, before
// the history correction of all-nodes.
int base_reduction(int depth, int moveCount, bool pvNode);
}  // namespace veltrix
