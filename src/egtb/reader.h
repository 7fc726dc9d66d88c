// The tablebase reader: everything that knows a file format. The engine side
// (tablebase.cpp) asks it only these five things, so another format can take its
// place without the search noticing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The men of one colour: pawns, knights, bishops, rooks and queens in this order,
// each type in ascending square order, then the king.
struct TableMen {
  int count = 0;
  int square[16];
  int type[16];  // PieceType of the man on square[i]
};

// "None" in the reader's answers and arguments.
constexpr int NoEpSquare = 127;
constexpr int NoValueShort = 127;
constexpr int NoValue = 32767;

// Finds the tables in the directories and prepares them for reading; answers the
// largest number of men (kings and pawns included) of any table found, 0 when none.
// Forgets whatever an earlier call registered.
int register_tables(const std::vector<std::string>& directories);

// Gives the reader a decompression cache of this many bytes; false when refused.
bool set_table_cache(size_t bytes);

// The table for this material: counts are White's pawns, knights, bishops, rooks,
// queens, then Black's. Negative when the table holds the material with the
// colours exchanged, 0 when there is no table for it.
int select_table(const int counts[10]);

// Whether the table can be read with this colour (Black or White) to move.
bool table_available(int table, int sideToMove);

// The stored value for the side to move: 0 a draw, 32767 - m a win and -(32767 - m)
// a loss, where m counts the moves of the side to move up to the mate: the winner
// mates with his m-th move, the loser stands mated at his m-th turn (m = 1 when he
// is mated already). NoValue or NoValueShort when the table has no answer.
// For a table selected with a negative identifier, the caller has swapped the two
// lists and the side to move into the table's colours but left the squares as they
// stand on the board, and sets `exchanged`: the reader turns the board around.
int read_table(int table, int sideToMove, const TableMen& white, const TableMen& black, int epSquare, bool exchanged);
