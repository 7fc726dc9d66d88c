// The Syzygy prober: everything that knows the probing library. The engine side
// (syzygy.cpp) asks it only these three things.
#pragma once

#include <string>

#include "board/movegen.h"
#include "board/position.h"

// What the tables say of a position for the side to move, worst first. A cursed
// win is a win that the fifty-move rule turns into a draw, a blessed loss the
// loss it saves.
enum class TbOutcome { Loss, BlessedLoss, Draw, CursedWin, Win };

// Opens the tables in the folders (separated by ":"), forgetting the ones opened
// before; answers the most men (kings and pawns included) of any table, 0 for none.
int open_tables(const std::string& folders);

// The outcome of a position without castling rights whose fifty-move count is 0.
// False when the tables do not know it.
bool probe_outcome(const Position& pos, TbOutcome& outcome);

// Ranks the moves of the list (ranks[i] for moves.moves[i]) by what they lead to,
// best highest, counting the fifty-move count of the position: by the
// distance-to-zero tables, or by the win-draw-loss tables alone when those are
// missing. All wins within the fifty-move rule rank alike, unless the game has
// `repeated` a position since its last capture or pawn move: then the nearer a
// win's next capture, pawn move or mate, the higher it ranks. False when some
// move is not known.
bool rank_moves(const Position& pos, const MoveList& moves, bool repeated, int ranks[]);

// What a move of this rank leads to, for the side to move.
TbOutcome outcome_of_rank(int rank);
