// The start-up tables: lines, masks, attack sets and bit counting.
#include "board/bitboard.h"
#include "support/board_setup.h"

namespace {

Bitboard squares(std::initializer_list<int> list) {
  Bitboard b = 0;
  for (int sq : list) b |= SquareBB[sq];
  return b;
}

TEST(Tables, LinesAndDistances) {
  ensure_tables();
  for (int s = 0; s < 64; s++) {
    EXPECT_EQ(Distance[s][s], 0);
    EXPECT_EQ(Direction[s][s], 0);
  }
  EXPECT_EQ(BetweenBB[A1][H8], squares({B2, C3, D4, E5, F6, G7}));
  EXPECT_EQ(BetweenBB[H8][A1], BetweenBB[A1][H8]);
  EXPECT_EQ(BetweenBB[E4][E5], 0u);
  EXPECT_EQ(BetweenBB[A1][B3], 0u);
  EXPECT_EQ(Direction[A1][H8], 9);
  EXPECT_EQ(Direction[H1][A8], 7);
  EXPECT_EQ(Direction[E4][E1], -8);
  EXPECT_EQ(Direction[A1][B3], 0);
  EXPECT_EQ(Distance[A1][H8], 7);
  EXPECT_EQ(Distance[B2][D3], 2);
  EXPECT_EQ(LineBB[C3][E5], squares({A1, B2, C3, D4, E5, F6, G7, H8}));
}

TEST(Tables, SlidingAttacks) {
  ensure_tables();
  EXPECT_EQ(popcount(rook_attacks(A1, 0)), 14);
  EXPECT_EQ(rook_attacks(A1, 0), (FileBB[0] | RankBB[0]) & ClearBB[A1]);
  Bitboard blocked = rook_attacks(A1, SquareBB[A4]);
  EXPECT_TRUE(blocked & SquareBB[A4]);
  EXPECT_FALSE(blocked & SquareBB[A5]);
  EXPECT_EQ(BishopMagics[A1].mask, squares({B2, C3, D4, E5, F6, G7}));
  EXPECT_EQ(RookMagics[A1].mask, squares({A2, A3, A4, A5, A6, A7, B1, C1, D1, E1, F1, G1}));
  // Every occupancy subset of the mask must give the attacks of a plain walk; check
  // all squares against a few thousand random occupancies.
  uint64_t seed = 88172645463325252ull;
  for (int i = 0; i < 4000; i++) {
    seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
    Bitboard occ = seed & (seed >> 3);
    int sq = i & 63;
    Bitboard walk = 0;
    for (int d : {1, -1, 8, -8, 9, -9, 7, -7}) {
      bool diagonal = d == 9 || d == -9 || d == 7 || d == -7;
      for (int s = sq + d; s >= 0 && s < 64 && Distance[s][s - d] == 1; s += d) {
        walk |= SquareBB[s] & (diagonal ? bishop_attacks(sq, 0) : rook_attacks(sq, 0));
        if (occ & SquareBB[s]) break;
      }
    }
    EXPECT_EQ(queen_attacks(sq, occ), walk) << "square " << sq;
  }
}

TEST(Tables, BitCounting) {
  ensure_tables();
  EXPECT_EQ(PopCount16[0], 0);
  EXPECT_EQ(FirstBit16[0], 0);
  EXPECT_EQ(LastBit16[0], 0);
  EXPECT_EQ(FirstBit16[0x8000], 15);
  EXPECT_EQ(LastBit16[0x8000], 15);
  EXPECT_EQ(FirstBit16[0x0A00], 9);
  EXPECT_EQ(LastBit16[0x0A00], 11);
  BoardConfigGuard guard;
  for (Bitboard b : {0ull, 1ull, 0x8000000000000001ull, 0xFFFFFFFFFFFFFFFFull, 0x0123456789ABCDEFull}) {
    BoardConfig.ssePopcount = true;
    int hardware = popcount(b);
    BoardConfig.ssePopcount = false;
    EXPECT_EQ(popcount(b), hardware);
  }
}

TEST(Tables, PawnMasks) {
  ensure_tables();
  EXPECT_EQ(PawnAttacks[White][H2], SquareBB[G3]);
  EXPECT_EQ(PawnAttacks[White][E8], 0u);
  EXPECT_EQ(PawnAttacks[Black][A7], SquareBB[B6]);
  EXPECT_EQ(popcount(PassedPawnMask[White][E2]), 18);
  EXPECT_EQ(PassedPawnMask[White][E2], (FileBB[3] | FileBB[4] | FileBB[5]) & ~(RankBB[0] | RankBB[1]));
  EXPECT_EQ(PassedPawnMask[White][E1], 0u);
  EXPECT_EQ(FrontFileBB[Black][E7], FileBB[4] & ~(RankBB[6] | RankBB[7]));
  EXPECT_EQ(NeighbourSpanBB[White][E4], squares({D4, F4, D3, F3, D2, F2, D1, F1}));
  EXPECT_EQ(NeighbourSpanBB[Black][A5], squares({B5, B6, B7, B8}));
  EXPECT_EQ(KingZoneBB[White][G1], squares({F1, H1, F2, G2, H2, F3, G3, H3}));
  EXPECT_EQ(KingZoneBB[Black][G8], squares({F8, H8, F7, G7, H7, F6, G6, H6}));
  EXPECT_EQ(KingZoneBB[White][E4], 0u);
  // Rule of the square: a pawn on its second rank counts as if on the third.
  EXPECT_EQ(PawnSquareBB[White][A2], PawnSquareBB[White][A3]);
  EXPECT_EQ(PawnSquareBB[White][E6], squares({C6, D6, E6, F6, G6, C7, D7, E7, F7, G7, C8, D8, E8, F8, G8}));
  EXPECT_EQ(PawnSquareBB[Black][E3], squares({C3, D3, E3, F3, G3, C2, D2, E2, F2, G2, C1, D1, E1, F1, G1}));
}

TEST(Tables, PieceSquareValues) {
  EXPECT_EQ(PieceSquareTable[Knight][A1].mg, -20);
  EXPECT_EQ(PieceSquareTable[King][G1].mg, 15);
  EXPECT_EQ(PieceSquareTable[Pawn][E4].mg, 10);
  EXPECT_EQ(PieceSquareTable[King][E4].eg, 40);
  EXPECT_EQ(PieceSquareTable[Rook][D5].eg, 5);
}

}  // namespace
