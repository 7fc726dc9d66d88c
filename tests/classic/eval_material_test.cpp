// Material balance, game phase and the scaling of pawnless endings.
#include "eval_support.h"

using namespace classic;

namespace {

using MaterialTest = EvalTest;

MaterialEntry material_of(const char* fen) { return probe_material(position_from(fen)); }

TEST_F(MaterialTest, StartPositionIsBalancedWithPhaseZero) {
  MaterialEntry e = material_of(StartFen);
  EXPECT_EQ(e.material, pair(0, 0));
  EXPECT_EQ(e.phase, 0);
  EXPECT_EQ(e.scaleDivisor, 1);
}

TEST_F(MaterialTest, PieceValuesAndBishopPair) {
  // Pawn, knight, bishop, rook and queen against a bare king.
  EXPECT_EQ(material_of("4k3/8/8/8/8/8/P7/RNBQK3 w - -").material, pair(80 + 325 + 325 + 500 + 975, 100 + 2125));
  // Black two bishops: the pair bonus counts for Black.
  EXPECT_EQ(material_of("2b1kb2/8/8/8/8/8/8/4K3 w - -").material, pair(-(650 + 50), -(650 + 70)));
  // Three bishops still earn the pair bonus once.
  EXPECT_EQ(material_of("4k3/8/8/8/8/8/8/2B1KBB1 w - -").material, pair(975 + 50, 975 + 70));
}

TEST_F(MaterialTest, PhaseCountsPiecesOfBothColours) {
  EXPECT_EQ(material_of("4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - -").phase, 100);
  // One queen each: 16 units left, (1600 + 12) / 24 = 67.
  EXPECT_EQ(material_of("3qk3/pppppppp/8/8/8/8/PPPPPPPP/3QK3 w - -").phase, 67);
  // A rook and a knight each: 18 units, (1800 + 12) / 24 = 75.
  EXPECT_EQ(material_of("1n2k2r/8/8/8/8/8/8/1N2K2R w - -").phase, 75);
  // Extra queens cannot push the phase below 0.
  EXPECT_EQ(material_of("qqqqk3/8/8/8/8/8/8/QQQQK3 w - -").phase, 0);
}

TEST_F(MaterialTest, ScaleOfPawnlessEndings) {
  struct Case {
    const char* fen;
    int divisor;
  } cases[] = {
      {"4k3/8/8/8/8/8/8/4K3 w - -", 16},      // bare kings
      {"4k3/8/8/8/8/8/8/2B1K3 w - -", 16},    // lone bishop
      {"4k3/8/8/8/8/8/8/4K1n1 w - -", 16},    // lone knight, Black's
      {"4k3/8/8/8/8/8/8/3QK3 w - -", 1},      // a queen wins
      {"4k3/8/8/8/8/8/8/R3K3 w - -", 1},      // a rook wins
      {"2b1k3/8/8/8/8/8/8/R3K3 w - -", 8},    // rook against bishop
      {"4k3/8/8/8/8/8/8/1N2K1N1 w - -", 8},   // two knights
      {"1n2k3/8/8/8/8/8/8/2B1KB2 w - -", 4},  // two bishops against a knight
      {"r3k3/8/8/8/8/8/8/R3KN2 w - -", 2},    // rook and knight against rook
      {"r3kn2/8/8/8/8/8/8/R3K3 b - -", 2},    // the same for Black
      {"4k3/8/8/8/8/8/8/1B2KB2 w - -", 1},    // two bishops mate
      {"r3k3/8/8/8/8/8/8/R3KQ2 w - -", 1},    // four pieces: no rule
      {"4k3/p7/8/8/8/8/8/2B1K3 w - -", 1},    // any pawn: no scaling
      {"4k3/8/8/8/8/8/7P/1N2K1N1 w - -", 1},
  };
  for (const Case& c : cases) {
    Position pos = position_from(c.fen);
    EXPECT_EQ(material_scale(pos), c.divisor) << c.fen;
    EXPECT_EQ(probe_material(pos).scaleDivisor, c.divisor) << c.fen;
  }
}

TEST_F(MaterialTest, CachedEntryIsReturnedOnTheNextProbe) {
  Position pos = position_from("r3k3/8/8/8/8/8/8/R3KN2 w - -");
  MaterialEntry first = probe_material(pos);
  MaterialEntry cached;
  ASSERT_TRUE(material_cache_probe(pos.MaterialKey, pos.ThreadSlot, cached));
  EXPECT_EQ(cached.checkKey, uint32_t(pos.MaterialKey >> 32));
  EXPECT_EQ(cached.material, first.material);
  EXPECT_EQ(cached.phase, first.phase);
  EXPECT_EQ(cached.scaleDivisor, first.scaleDivisor);
  // A hit is trusted: a planted entry comes back unchanged.
  MaterialEntry planted{0, pair(1, 2), 3, 4};
  material_cache_store(pos.MaterialKey, pos.ThreadSlot, planted);
  EXPECT_EQ(probe_material(pos).material, pair(1, 2));
  EXPECT_EQ(probe_material(pos).scaleDivisor, 4);
}

}  // namespace
