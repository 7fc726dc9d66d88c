// The Gaviota tables of the Debian package gaviotatb, shared by the tablebase
// tests, and positions of their endgames.
#pragma once

#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "board/movegen.h"
#include "egtb/tablebase.h"
#include "search/search_state.h"
#include "support/board_setup.h"
#include "support/classic_config.h"
#include "support/gaviota_tables.h"

using namespace classic;

// Sets the tables up the way the first search does.
inline bool load_tables(const std::string& pathList) {
  TablebaseConfig.path = pathList;
  TablebaseConfig.setupPending = false;
  return init_tablebases() == TablebaseSetup::Loaded;
}

// A probe as the search makes it, with draws counted for the side of Search.rootSide.
inline bool probe_tables(const Position& pos, int ply, int& score) {
  return tablebase_probe(pos, ply, pos.SideToMove == Search.rootSide, score);
}

// A legal position of a white king and a black king with one more man, of the
// given code, on random free squares; the side not to move is not in check.
inline Position random_three_men(std::mt19937& rng, int code, int sideToMove) {
  for (;;) {
    int sq[3];
    for (int& s : sq) s = int(rng() % 64);
    if (sq[0] == sq[1] || sq[0] == sq[2] || sq[1] == sq[2]) continue;
    if (PieceTypeOf[code] == Pawn && (rank_of(sq[2]) == 0 || rank_of(sq[2]) == 7)) continue;
    std::string rows[8];
    for (int rank = 7; rank >= 0; --rank) {
      int empty = 0;
      std::string& row = rows[7 - rank];
      for (int file = 0; file < 8; ++file) {
        int s = make_square(file, rank);
        char c = s == sq[0] ? 'K' : s == sq[1] ? 'k' : s == sq[2] ? " PNBRQKpnbrqk"[code] : 0;
        if (!c) {
          ++empty;
          continue;
        }
        if (empty) row += char('0' + empty);
        empty = 0;
        row += c;
      }
      if (empty) row += char('0' + empty);
    }
    std::string fen = rows[0];
    for (int i = 1; i < 8; ++i) fen += "/" + rows[i];
    fen += sideToMove == White ? " w - - 0 1" : " b - - 0 1";
    Position pos{};
    if (!read_fen(pos, fen.c_str())) continue;
    if (square_attacked(pos, pos.KingSq[other(sideToMove)], sideToMove)) continue;
    return pos;
  }
}
