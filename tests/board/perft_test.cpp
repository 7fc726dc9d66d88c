// Leaf counts of the legal move tree against published totals: the strongest
// single check of generation, make and unmake together.
#include <cstdint>

#include "board/perft.h"
#include "support/board_setup.h"

namespace {

struct PerftCase {
  const char* fen;
  int depth;
  uint64_t nodes;
};

void expect_perft(const PerftCase& c) {
  Position pos = position_from(c.fen);
  EXPECT_EQ(perft(pos, c.depth), c.nodes) << c.fen << " depth " << c.depth;
}

TEST(Perft, StartPosition) {
  expect_perft({StartFen, 1, 20});
  expect_perft({StartFen, 2, 400});
  expect_perft({StartFen, 3, 8902});
  expect_perft({StartFen, 4, 197281});
  expect_perft({StartFen, 5, 4865609});
}

TEST(Perft, CastlingPinsAndPromotionsMiddlegame) {
  const char* kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";
  expect_perft({kiwipete, 1, 48});
  expect_perft({kiwipete, 2, 2039});
  expect_perft({kiwipete, 3, 97862});
  expect_perft({kiwipete, 4, 4085603});
}

TEST(Perft, EnPassantEndgame) {
  const char* fen = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -";
  expect_perft({fen, 1, 14});
  expect_perft({fen, 4, 43238});
  expect_perft({fen, 6, 11030083});
}

TEST(Perft, PromotionsAndMirroredPosition) {
  expect_perft({"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333});
  expect_perft({"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 5, 15833292});
  expect_perft({"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 5, 15833292});
  expect_perft({"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487});
  expect_perft({"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 4, 3894594});
}

TEST(Perft, Chess960) {
  BoardConfigGuard guard;
  BoardConfig.chess960 = true;
  expect_perft({"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", 5, 8146062});
  expect_perft({"2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9", 5, 16253601});
  expect_perft({"b1q1rrkb/pppppppp/3nn3/8/P7/1PPP4/4PPPP/BQNNRKRB w GE - 1 9", 5, 6417013});
  expect_perft({"qbbnnrkr/2pp2pp/p7/1p2pp2/8/P3PP2/1PPP1KPP/QBBNNR1R w hf - 0 9", 5, 9183776});
  expect_perft({"1rqbkrbn/1ppppp1p/1n6/p1N3p1/8/2P4P/PP1PPPP1/1RQBKRBN w FBfb - 0 9", 5, 8652810});
}

TEST(Perft, DepthZeroCountsTheRoot) {
  Position pos = position_from(StartFen);
  EXPECT_EQ(perft(pos, 0), 1u);
}

}  // namespace
