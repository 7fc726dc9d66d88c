// Set-up shared by veltrix's unit tests: the start-up tables, a small table, and
// positions to test with.
#pragma once

#include <mutex>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/movegen.h"
#include "board/movetext.h"
#include "nnue/nnue.h"
#include "support/board_setup.h"
#include "veltrix/engine_options.h"
#include "veltrix/fallback_eval.h"
#include "veltrix/hash_table.h"
#include "veltrix/search.h"
#include "veltrix/search_state.h"
#include "veltrix/threads.h"

using namespace veltrix;

inline void ensure_veltrix() {
  static std::once_flag once;
  std::call_once(once, [] {
    ensure_tables();
    init_search_tables();
    init_fallback_tables();
    TT.resize(16);
  });
}

// The project's own copy of the default network, loaded once; NnueLoaded follows.
inline bool load_real_network() {
  static bool loaded = load_network(VELTRIX_NET_FILE);
  NnueLoaded = loaded;
  return loaded;
}

inline Position veltrix_position(const std::string& fen) {
  ensure_veltrix();
  return position_from(fen, Dialect::Veltrix);
}

// Positions met in games of random legal moves from the start position: openings,
// middlegames and endings of every sort, fixed by the seed.
inline std::vector<Position> random_game_positions(int games, unsigned seed) {
  ensure_veltrix();
  std::mt19937 rng(seed);
  std::vector<Position> out;
  for (int g = 0; g < games; g++) {
    Position pos = position_from(StartFen, Dialect::Veltrix);
    for (int ply = 1; ply <= 160; ply++) {
      MoveList list = legal_moves(pos);
      if (list.count == 0 || is_draw(pos, RepetitionRule::OneEarlier)) break;
      make_move(pos, list.moves[1 + rng() % list.count].move, 1);
      if (ply % 7 == 0) out.push_back(pos);
    }
  }
  return out;
}

// The colours swapped and the board turned upside down: the same game for the other side.
inline Position mirrored(const Position& pos) {
  std::string fen;
  for (int rank = 0; rank < 8; rank++) {  // the mirror's eighth rank is the first rank
    int empty = 0;
    for (int file = 0; file < 8; file++) {
      int code = pos.Board[make_square(file, rank)];
      if (!code) {
        empty++;
        continue;
      }
      if (empty) fen += char('0' + empty), empty = 0;
      fen += "pnbrqkPNBRQK"[code - 1];  // white pieces become black and black white
    }
    if (empty) fen += char('0' + empty);
    if (rank < 7) fen += '/';
  }
  fen += pos.SideToMove == White ? " b - -" : " w - -";
  return position_from(fen, Dialect::Veltrix);
}

// A silent search of `pos` to `depth` on a cleared table, with no clock.
inline int search_to_depth(Position& pos, int depth) {
  ensure_veltrix();
  Search.reportsOff = true;
  Engine.depthLimit = depth;
  Engine.pondering = 0;
  Clock.wtime = Clock.btime = 36000000;
  Clock.wMovesToGo = Clock.bMovesToGo = 1;
  Clock.winc = Clock.binc = 0;
  TT.clear();
  start_search(pos);
  return Search.rootScore;
}
