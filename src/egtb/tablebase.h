// What the classic search asks of the endgame tablebases: set-up at the first
// search after the tablebase options changed, and exact values of positions with
// few men, as search scores.
#pragma once

#include <cstdint>
#include <string>

#include "board/position.h"

// Where the tables are and how much cache the reader gets; a change takes effect
// at the next set-up.
struct TablebaseSettings {
  std::string path = "E:\\schach\\EGTB";  // directories separated by "," or ";"
  int cacheMegabytes = 8;
  bool setupPending = true;
};
extern TablebaseSettings TablebaseConfig;

struct TablebaseStatus {
  bool available = false;  // the last set-up found usable tables
  int maxPieces = 0;       // the most pieces (kings and pawns included) of any table found
  uint64_t hits = 0;       // probes answered in the current search
};
extern TablebaseStatus Tablebases;

enum class TablebaseSetup { Loaded, NoTables, NoCache };
// Finds the tables of TablebaseConfig and gives the reader its cache; the status
// tells whether some are usable and how many men the largest has.
TablebaseSetup init_tablebases();

// The exact value of the position for the side to move, as a search score at
// this ply; false when the tables do not know it. Main thread only.
bool tablebase_probe(const Position& pos, int ply, bool rootSideToMove, int& score);

// A reader's value (reader.h) as a search score for the side to move at this ply.
int tablebase_score(int value, int ply, bool rootSideToMove);
