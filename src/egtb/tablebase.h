// What the classic search asks of the endgame tablebases. Until a tablebase
// reader is built in, set-up finds no tables and a probe never finds a value.
#pragma once

#include <cstdint>

#include "board/position.h"

struct TablebaseStatus {
  bool available = false;  // the last set-up found usable tables
  int maxPieces = 0;       // the most pieces (kings and pawns included) of any table found
  uint64_t hits = 0;       // probes answered in the current search
};
extern TablebaseStatus Tablebases;

// Finds the tables named by NalimovPath; true when some are usable.
bool init_tablebases();
// The exact value of the position for the side to move, in search scores; false
// when the tables do not know it.
bool tablebase_probe(const Position& pos, int& score);
