#include "uci/report.h"

#include <cinttypes>
#include <cstdio>

#include "board/movetext.h"
#include "egtb/tablebase.h"
#include "search/limits.h"
#include "search/picker.h"
#include "search/score.h"
#include "search/search_state.h"
#include "search/time.h"
#include "search/tt.h"
#include "uci/options.h"

namespace {

constexpr uint32_t CurrMoveDelayMs = 1000;

// The search-output switch: the tools turn it off to keep the reports quiet. It is
// the same switch that lets the board core print move sequences.
bool search_output() { return BoardConfig.sequenceOutput; }

// A move to ponder on in the position after the engine's move: the principal
// variation's reply, else the table's move, when it can be played.
Move ponder_move(const Position& pos) {
  Move reply = Search.PrincipalVariation[1];
  if (reply && move_is_legal_here(pos, reply)) return reply;
  TTEntry entry;
  if (tt_probe(pos.HashKey, entry) && entry.move && move_is_legal_here(pos, entry.move)) return entry.move;
  return 0;
}

}  // namespace

void print_score(int score) {
  if (score > SCORE_MATE_RANGE)
    printf("mate %d ", (SCORE_MATE + 1 - score) / 2);
  else if (score < -SCORE_MATE_RANGE)
    printf("mate %d ", (score + SCORE_MATE) / -2);
  else
    printf("cp %d ", score);
}

void info_line(int score, int bound, int depth, int multipvIndex) {
  uint64_t nodes = total_nodes();
  uint32_t elapsed = elapsed_ms();
  uint32_t seconds = elapsed / 1000;
  int nps = nodes && seconds ? int(nodes / seconds) : 0;
  if (Options.uciMode) {
    printf("info depth %d seldepth %d multipv %d score ", depth, Search.selDepth, multipvIndex);
    print_score(score);
    if (bound == ReportUpper) printf("upperbound ");
    if (bound == ReportLower) printf("lowerbound ");
    printf("nodes %" PRIu64 " nps %d tbhits %" PRIu64 " time %u pv ", nodes, nps, Tablebases.hits, elapsed);
  } else if (search_output()) {
    printf("depth %d/%d time %u nodes %" PRIu64 " nps %d tb %" PRIu64 "\n", depth, Search.selDepth, elapsed, nodes, nps,
           Tablebases.hits);
    print_score(score);
    printf("pv ");
    if (bound == ReportUpper) printf("? ");
    if (bound == ReportLower) printf("! ");
  }
  if (search_output()) {
    print_move_sequence(Search.PrincipalVariation);
    printf("\n");
  }
}

void currmove_line(int depth, int moveNumber, Move move) {
  if (elapsed_ms() < CurrMoveDelayMs) return;
  printf("info depth %d hashfull %d currmovenumber %d currmove ", depth, tt_hashfull(), moveNumber);
  print_move(move);
  if (search_output()) printf("\n");
}

void currline_line(const SearchStack& ss, int ply) {
  printf("info currline ");
  for (int i = 1; i <= ply && i <= 10; i++) print_move(ss.currentMove[i]);
  printf("\n");
}

void bestmove_line(Position& pos, Move move) {
  if (Options.uciMode) {
    printf("bestmove ");
    print_move(move);
  } else if (search_output()) {
    printf("move ");
    print_move(move);
  }
  if (move) make_move(pos, move, 1);
  if (Options.uciMode && Options.ponder && !Time.infinite) {
    if (Move reply = ponder_move(pos)) {
      printf("ponder ");
      print_move(reply);
    }
  }
  if (search_output()) printf("\n");
}
