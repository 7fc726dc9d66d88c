// Moves as text in both directions, and the two human-readable board dumps.
#pragma once

#include <string>

#include "board/position.h"

extern const char* const SquareName[64];

// The move as printed, without the trailing blank: "0000" for no move (or the
// null-move marker 1), "O-O" / "O-O-O" for castling with Castling_OO on,
// otherwise "e2e4" with a lower-case promotion letter.
std::string move_text(Move m);
// Prints the move followed by one blank.
void print_move(Move m);
// Prints up to ten moves, stopping at the first word below 1; nothing while the
// sequence output is switched off.
void print_move_sequence(const Move* moves);

// The legal move the text names in this position, or 0.
Move parse_move(const Position& pos, const char* text, Dialect dialect = Dialect::Classic);

// The text board on standard output, followed by the HTML page.
void print_board(const Position& pos);
void write_html_board(const Position& pos, const char* path = "veltrix_board.html");

inline const char* bool_text(int value) { return value ? "true" : "false"; }
