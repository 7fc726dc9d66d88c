// Pawn structure, king shelter and passed pawns.
#include "eval_support.h"

using namespace classic;

namespace {

using PawnTest = EvalTest;

PawnCacheEntry pawns_of(const char* fen) { return probe_pawns(position_from(fen)); }

ScorePair passed_of(const char* fen) {
  Position pos = position_from(fen);
  return evaluate_passed_pawns(pos, probe_pawns(pos));
}

TEST_F(PawnTest, NoPawns) {
  PawnCacheEntry e = pawns_of("4k3/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(e.pawnScore, pair(0, 0));
  for (int c : {Black, White}) {
    EXPECT_EQ(e.pawnlessFiles[c], 0xFF);
    EXPECT_EQ(e.passedFiles[c], 0);
    EXPECT_EQ(e.shelter[c], 0);
  }
  EXPECT_EQ(e.shelterKingSq[White], E1);
  EXPECT_EQ(e.shelterKingSq[Black], E8);
}

TEST_F(PawnTest, DoubledAndIsolatedOnAnOpenFile) {
  // e2 doubled (-18, -30); both pawns isolated on an open file (-15, -30) each.
  PawnCacheEntry e = pawns_of("4k3/8/8/8/8/4P3/4P3/4K3 w - -");
  EXPECT_EQ(e.pawnScore, pair(-18 - 30, -30 - 60));
  EXPECT_EQ(e.passedFiles[White], 1 << 4);  // only the front pawn runs
  EXPECT_EQ(e.pawnlessFiles[White], 0xFF & ~(1 << 4));
}

TEST_F(PawnTest, IsolatedOnAClosedFile) {
  // a2 isolated behind the a7 pawn: (-10, -20). Black's a7/b7 support each other;
  // b7 is a candidate on its second rank, worth nothing yet.
  PawnCacheEntry e = pawns_of("4k3/pp6/8/8/8/8/P7/4K3 w - -");
  EXPECT_EQ(e.pawnScore, pair(-10, -20));
  EXPECT_EQ(e.passedFiles[White], 0);
  EXPECT_EQ(e.passedFiles[Black], 0);
}

TEST_F(PawnTest, BackwardDefendedAndIsolated) {
  // White c3 has no pawn beside or behind it and d5 guards its path: backward on an
  // open file (-12, -24). d4 is blocked but defended by c3 (+3, +6). Black's d5
  // stands alone on a closed file (-10, -20).
  PawnCacheEntry e = pawns_of("4k3/8/8/3p4/3P4/2P5/8/4K3 w - -");
  EXPECT_EQ(e.pawnScore, pair(-12 + 3 + 10, -24 + 6 + 20));
}

TEST_F(PawnTest, CandidatePassedPawn) {
  // c5 on an open file, contested by d7 and supported by d5 (one each); its front
  // square c6 is hit by d7 and covered by d5: a candidate on relative rank 4,
  // (60 * 4 / 100, 60 * 8 / 100). d5 behind d7 scores nothing; Black's d7 is
  // isolated on a closed file (-10, -20).
  PawnCacheEntry e = pawns_of("4k3/3p4/8/2PP4/8/8/8/4K3 w - -");
  EXPECT_EQ(e.pawnScore, pair(2 + 10, 4 + 20));
  EXPECT_EQ(e.passedFiles[White], 0);
}

TEST_F(PawnTest, ShelterCountsPawnsAroundAKingAtHome) {
  auto shelter = [](const char* fen, int colour) { return king_shelter(position_from(fen), colour); };
  // Three pawns in front of the castled king: 32 each.
  EXPECT_EQ(shelter("6k1/8/8/8/8/8/5PPP/6K1 w - -", White), 96);
  EXPECT_EQ(shelter("6k1/5ppp/8/8/8/8/8/6K1 w - -", Black), 96);
  // An enemy pawn on the third rank storms the king: -48 / 2.
  EXPECT_EQ(shelter("6k1/8/8/8/8/6p1/5PPP/6K1 w - -", White), 72);
  // From g2 the zone reaches the fourth rank; pawns behind the king still count
  // only from the king's own rank on.
  EXPECT_EQ(shelter("6k1/8/8/8/8/8/5PKP/8 w - -", White), 64);
  EXPECT_EQ(shelter("6k1/8/8/8/8/6KP/5P2/8 w - -", White), 16);
  // No pawns at all, or a king that has left home: nothing.
  EXPECT_EQ(shelter("6k1/8/8/8/8/8/8/6K1 w - -", White), 0);
  EXPECT_EQ(shelter("6k1/7p/8/8/6K1/8/5P2/8 w - -", White), 0);
}

TEST_F(PawnTest, KingAwayFromHomeGetsNoCachedShelter) {
  PawnCacheEntry e = pawns_of("6k1/5ppp/8/8/4K3/8/8/8 w - -");
  EXPECT_EQ(e.shelterKingSq[White], 0);
  EXPECT_EQ(e.shelter[White], NoShelter);
  EXPECT_EQ(e.shelterKingSq[Black], G8);
  EXPECT_EQ(e.shelter[Black], 96);
}

TEST_F(PawnTest, ConnectedPassedPawns) {
  // d5 and e5: the d-pawn has a passed neighbour toward h: (60, 120); the e-pawn,
  // undefended, (30, 60). Endgame extras, White to move, Black king e8:
  // d5: x = (2 * 4 - 5) * 5 = 15, path d6-d8 free, king inside the square: +60
  //     -> 60 * 75 / 100 = 45. e5: x = 15, e8 occupied -> 60 * 15 / 100 = 9.
  EXPECT_EQ(passed_of("4k3/8/8/3PP3/8/8/8/4K3 w - -"), pair(90, 120 + 60 + 45 + 9));
}

TEST_F(PawnTest, UnstoppablePassedPawn) {
  // a6 against a bare king on h8 (plus a pawn): x = (7 * 4 - 6) * 5 + 460 = 570,
  // so the endgame gains 90 * 570 / 100. Black's h7 is passed too: (2, 5).
  EXPECT_EQ(passed_of("7k/7p/P7/8/8/8/8/4K3 w - -"), pair(45 - 2, 90 + 513 - 5));
  // With Black to move the king may catch it: only the free path counts.
  EXPECT_EQ(passed_of("7k/7p/P7/8/8/8/8/4K3 b - -"), pair(45 - 2, 90 + 90 * 170 / 100 - 5));
  // A black knight can stop it: free path only.
  EXPECT_EQ(passed_of("6nk/7p/P7/8/8/8/8/4K3 w - -"), pair(45 - 2, 90 + 90 * 170 / 100 - 5));
}

TEST_F(PawnTest, RookBehindThePassedPawn) {
  // d5 passed, Black king on d8 blocks the path: base (30, 60), x = 15 before rooks.
  EXPECT_EQ(passed_of("3k4/8/8/3P4/8/8/8/4K2R w - -"), pair(30, 60 + 60 * 15 / 100));
  // Own rook behind with a clear view: +40.
  EXPECT_EQ(passed_of("3k4/8/8/3P4/8/8/8/3RK3 w - -"), pair(30, 60 + 60 * 55 / 100));
  // Enemy rook behind: -40 makes x negative, no extra at all.
  EXPECT_EQ(passed_of("3k4/8/8/3P4/8/8/8/3rK3 w - -"), pair(30, 60));
  // The rearmost rook is the one tested: d1 is blocked by the black rook on d3.
  EXPECT_EQ(passed_of("3k4/8/8/3P4/8/3r4/8/3RK3 w - -"), pair(30, 60 + 60 * 15 / 100));
  // A rook alone in front of the pawn is the rearmost one but not behind it; it also
  // blocks the path: x = (4 * 4 - 5) * 5 = 55.
  EXPECT_EQ(passed_of("3R4/7k/8/3P4/8/8/8/4K3 w - -"), pair(30, 60 + 60 * 55 / 100));
}

TEST_F(PawnTest, CollidingEntryIsHarmless) {
  // An entry that claims passed pawns on files without pawns (a key collision)
  // scores nothing for them instead of reading past the board.
  Position pos = position_from("4k3/8/8/8/8/8/8/4K3 w - -");
  PawnCacheEntry e = probe_pawns(pos);
  e.passedFiles[White] = e.passedFiles[Black] = 0xFF;
  EXPECT_EQ(evaluate_passed_pawns(pos, e), pair(0, 0));
}

}  // namespace
