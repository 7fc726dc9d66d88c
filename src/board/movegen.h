// Legal move generation: pins and checks are resolved while generating, so a
// generated move never needs a legality test after it is made.
#pragma once

#include "board/position.h"

struct MoveEntry {
  Move move;
  int score;
};

// Entries are numbered from 1; room for 255 moves. The tactical generator starts
// the list and sets both counts, the quiet generator appends after the tactical
// entries, the evasion generator starts the list afresh.
struct MoveList {
  MoveEntry moves[256];
  int tacticalCount;
  int count;

  MoveList() : tacticalCount(0), count(0) {}
  // A list that its generators always fill before it is read, such as the pickers
  // kept for every thread and ply: left as it is found, so that a program start
  // does not write (and the system need not supply) the pages of thousands of them.
  struct Unfilled {};
  explicit MoveList(Unfilled) {}
};

void generate_tactical(const Position& pos, MoveList& list);
void generate_quiet(const Position& pos, MoveList& list);
void generate_evasions(const Position& pos, MoveList& list);
// Evasions in check, otherwise tactical then quiet moves.
void generate_legal(const Position& pos, MoveList& list);

// Whether the move word is among the tactical and quiet moves of the position.
bool move_in_list(const Position& pos, Move m);

bool castling_allowed_oo(const Position& pos, int colour);
bool castling_allowed_ooo(const Position& pos, int colour);

// True when the move could have been generated here, apart from leaving the own
// king attacked. For moves from the transposition table and the killer slots.
bool move_playable(const Position& pos, Move m);
// Whether a playable move keeps the mover's king safe (castling is safe by its test).
bool move_keeps_king_safe(const Position& pos, Move m);
// A move from a table, a killer or a counter slot that can be played here.
inline bool move_is_legal_here(const Position& pos, Move m) {
  return move_playable(pos, m) && move_keeps_king_safe(pos, m);
}

bool in_check(const Position& pos);
bool gives_check(const Position& pos, Move m);
bool square_attacked(const Position& pos, int sq, int byColour);
// Pieces of both colours attacking the square under the given occupancy.
Bitboard attackers_to(const Position& pos, int sq, Bitboard occupied);
