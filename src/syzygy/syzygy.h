// Syzygy endgame tables, probed the same way by both engines: opened as soon as
// their folders are named, asked at the root which moves keep the best result,
// and asked inside the tree about positions just reached by a capture or a pawn
// move. Only the main thread probes.
#pragma once

#include <cstdint>
#include <string>

#include "board/movegen.h"
#include "board/position.h"

// The options of the tables, changed only between searches.
struct SyzygySettings {
  std::string path;    // folders separated by ":"; empty for none
  int probeDepth = 1;  // the least remaining depth at which the search probes
  bool rule50 = true;  // a win or a loss that the fifty-move rule spoils counts as a draw
  int probeLimit = 7;  // the most men (kings and pawns included) of a position probed
};
extern SyzygySettings SyzygyConfig;

// What the tables promise the side to move, the fifty-move rule counted as the
// settings say.
enum class TbResult { Loss = -1, Draw = 0, Win = 1 };

struct SyzygyStatus {
  int largest = 0;    // the most men of any table opened; 0 when none is
  int tables = 0;     // tables found in the folders of the path
  uint64_t hits = 0;  // positions the tables answered in the current search
  // Whether the tables know the root of the current search, and then the root
  // moves kept with the rank the tables gave each.
  bool rootKnown = false;
  int rankedCount = 0;
  Move rankedMoves[256];
  int rankOf[256];
};
extern SyzygyStatus Syzygy;

// What the path option shows while no folder is named; setting it names none.
inline const std::string NoSyzygyPath = "<empty>";

// Names the folders and opens their tables at once; answers how many were found.
int set_syzygy_path(const std::string& path);

// At the start of every search, with the root moves to consider: clears the hits
// and, when the tables know the root, keeps only the moves that hold its best
// result (a win within the fifty-move rule when there is one) and notes their
// ranks. A search of several `lines` keeps the next best ranks too, each rank
// whole, until there are that many moves.
void syzygy_search_start(const Position& root, MoveList& moves, int lines);
// The tables' rank of a root move kept, best highest; 0 while they do not know the root.
int syzygy_root_rank(Move rootMove);

// The tables' result for the side to move at the root when it plays this move,
// while they know the root.
bool syzygy_root_result(Move rootMove, TbResult& result);
// The score a report shows for a line from the root move: the tables' result for
// the move while they know the root, unless the search has seen a mate.
int syzygy_root_report(Move rootMove, int score, int rootPly, int drawScore);

// A position the search meets after a capture or a pawn move, with at least the
// probe depth left: its score at this ply when the tables know it. A win scores
// tb_win_at(ply), a loss the opposite, a draw `drawScore`.
bool syzygy_probe(const Position& pos, int depth, int ply, int drawScore, int& score);
