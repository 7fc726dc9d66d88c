// The search of veltrix: "go" to "bestmove", iterative deepening with aspiration
// windows over the root moves, the principal-variation search below the root
// and the quiescence search.
#pragma once

#include "board/position.h"
#include "engine/pruning.h"
#include "veltrix/search_state.h"

namespace veltrix {
// One whole search of the game position with the limits of Clock and Engine:
// the reports, the wait of a pondering search, "bestmove" and the best move made
// on the game position.
void go_search(Position& game);
// The search without its ending: clears the search records, allocates the time
// and iterates, searching and reporting `lines` lines at every depth (fewer when
// there are fewer root moves), of which the reports show the first `shown`.
// Search.pv[0] holds the best move (0 when there is no legal move); with several
// lines asked for, Search.lines holds those of the last finished depth, best first.
void start_search(Position& root, int lines = 1, int shown = MaxRootLines);

// Iterative deepening up to Engine.depthLimit, until stopped.
void iterate(Position& root);
// The root moves a pass searches: entries first..last of the list.
struct RootRange {
  int first, last;
};
// One pass over the root moves of the range at the given depth and window.
int root_search(Position& root, int alpha, int beta, int depth, RootRange range);
int search_node(SearchThread& th, Position& pos, int alpha, int beta, int depth, int ply, NodeType nodeType);
int quiesce(SearchThread& th, Position& pos, int alpha, int beta, int ply, bool pvNode);

// The late-move reduction of a move in the main search; all-nodes reduce moves
// with a bad history one ply more.
int reduction(int depth, int moveCount, NodeType nodeType, Move m);
// Captures, promotions, en passant and castling are not quiet: they are neither
// reduced nor pruned, and never become killers.
inline bool is_quiet(Move m) { return !is_tactical(m) && !CastleType(m); }
}  // namespace veltrix
