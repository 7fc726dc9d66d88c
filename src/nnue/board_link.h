// Where the board core meets the network: piece lists from a position, the
// search's evaluation entry, and the piece changes of a move for the
// incremental path.
#pragma once

#include "board/position.h"
#include "nnue/nnue.h"

struct NnueLists {
  int pieces[NnueListSize];
  int squares[NnueListSize];
};

// The board's pieces in the network's numbering, kings in slots 0 and 1.
void build_piece_lists(const Position& pos, NnueLists& lists);

// Network units to centipawns for the side to move, within +-10000.
int network_to_centipawns(int networkScore);

// The search's evaluation: the network's score in centipawns, rebuilt from scratch.
int evaluate_network(const Position& pos);

// The same score through the incremental path: nnue[0] belongs to this position and
// has its piece changes filled; nnue[1] and nnue[2] are the records of the two
// positions before it (either may be null). Gives what evaluate_network gives.
int evaluate_network_incremental(const Position& pos, NnuePlyData* const nnue[3]);
// Only the accumulator part of it, for a position whose children will need it.
void update_network_accumulator(const Position& pos, NnuePlyData* const nnue[3]);

// Prepares the record of the position after `m` is played in `before`: fills its
// piece changes and marks its accumulator as not yet computed. A move word without
// a moving piece stands for the null move, which changes no piece.
void record_move_changes(const Position& before, Move m, NnuePlyData& ply);
