#include "egtb/tablebase.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "egtb/reader.h"
#include "engine/score.h"

TablebaseSettings TablebaseConfig;
TablebaseStatus Tablebases;

namespace {
// NalimovPath lists directories separated by "," or ";".
std::vector<std::string> directories_of(const std::string& pathList) {
  std::vector<std::string> dirs;
  std::string dir;
  for (char c : pathList + ";") {
    if (c == ',' || c == ';') {
      if (!dir.empty()) dirs.push_back(dir);
      dir.clear();
    } else {
      dir += c;
    }
  }
  return dirs;
}

// One colour's men in the reader's order, and its five counts.
void collect_men(const Position& pos, int colour, TableMen& men, int* counts) {
  men.count = 0;
  for (int type = Pawn; type <= King; ++type) {
    Bitboard bb = type == King ? Bitboard(1) << pos.KingSq[colour] : pos.pieces(colour, type);
    if (type != King) counts[type - Pawn] = popcount(bb);
    while (bb) {
      men.square[men.count] = pop_lsb(bb);
      men.type[men.count++] = type;
    }
  }
}
}  // namespace

TablebaseSetup init_tablebases() {
  TablebaseConfig.setupPending = false;
  Tablebases.available = false;
  Tablebases.maxPieces = 0;
  const int largest = register_tables(directories_of(TablebaseConfig.path));
  if (largest < 3) return TablebaseSetup::NoTables;
  // The reader allocates its cache itself, so a shortage of memory shows as a refusal.
  if (!set_table_cache(size_t(TablebaseConfig.cacheMegabytes) << 20)) return TablebaseSetup::NoCache;
  Tablebases.available = true;
  Tablebases.maxPieces = largest;
  return TablebaseSetup::Loaded;
}

// Mate scores count from the root: the side mated at ply p scores p - SCORE_MATE.
// The table counts from the probed node, so the node's ply is added. A score from
// the value alone (2v - 33536 for a win, 2(16767 - |v|) for a loss) would be right
// only for wins probed at ply 3 and losses at ply 2, and would make a mate met deep
// in the tree look as near as one met next to the root.
int tablebase_score(int value, int ply, bool rootSideToMove) {
  // A draw counts slightly against the engine's own side, as every draw of the search does.
  if (value == 0) return rootSideToMove ? -1 : 1;
  const int m = NoValue - std::abs(value);
  if (value > 0) return SCORE_MATE - (ply + 2 * m - 1);  // our m-th move mates
  return mated_in(ply + 2 * (m - 1));                    // we stand mated at our m-th turn
}

bool tablebase_probe(const Position& pos, int ply, bool rootSideToMove, int& score) {
  if (pos.may_castle()) return false;
  TableMen men[2];
  int counts[10];
  collect_men(pos, White, men[White], counts);
  collect_men(pos, Black, men[Black], counts + 5);

  int table = select_table(counts);
  if (table == 0) return false;
  int side = pos.SideToMove;
  const bool exchanged = table < 0;
  if (exchanged) {
    std::swap(men[White], men[Black]);
    side = other(side);
    table = -table;
  }
  if (!table_available(table, side)) return false;

  const int ep = pos.EpTarget ? pos.EpTarget : NoEpSquare;
  const int value = read_table(table, side, men[White], men[Black], ep, exchanged);
  // Mated already or mating at once: the search sees these itself.
  if (value == NoValueShort || value == NoValue || std::abs(value) >= NoValue - 1) return false;
  score = tablebase_score(value, ply, rootSideToMove);
  ++Tablebases.hits;
  return true;
}
