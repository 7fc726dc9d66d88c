// Reading moves in standard algebraic notation.
#include "board/san.h"
#include "board/movetext.h"
#include "support/board_setup.h"

namespace {

std::string san(const std::string& fen, const std::string& token) {
  Move m = read_san(position_from(fen), token);
  return m ? move_text(m) : "none";
}

TEST(San, PiecesPawnsAndOriginHints) {
  EXPECT_EQ(san("rn1qkb1r/ppp2ppp/4pn2/3p4/3P4/4PN2/PPP2PPP/RNBQKB1R b KQkq -", "Nbd7"), "b8d7");
  EXPECT_EQ(san("rn1qkb1r/ppp2ppp/4pn2/3p4/3P4/4PN2/PPP2PPP/RNBQKB1R b KQkq -", "Nfd7"), "f6d7");
  EXPECT_EQ(san("4k3/8/8/R7/8/8/8/R3K3 w - -", "R1a3"), "a1a3");
  EXPECT_EQ(san("4k3/8/8/R7/8/8/8/R3K3 w - -", "R5a3"), "a5a3");
  EXPECT_EQ(san(StartFen, "e4"), "e2e4");
  EXPECT_EQ(san(StartFen, "e2e4"), "e2e4");  // both hints, from e2
  EXPECT_EQ(san(StartFen, "Nf3"), "g1f3");
  EXPECT_EQ(san(StartFen, "nf3"), "f2f3");  // a lower-case letter is no piece and is passed over
  // Lower-case b is a file: the pawn takes; upper-case B is the bishop.
  const char* bishopOrPawn = "4k3/8/8/8/8/2n5/1P1B4/4K3 w - -";
  EXPECT_EQ(san(bishopOrPawn, "bxc3"), "b2c3");
  EXPECT_EQ(san(bishopOrPawn, "Bxc3"), "d2c3");
  EXPECT_EQ(san("4k3/8/8/3p4/4P3/8/8/4K3 w - -", "exd5"), "e4d5");
  EXPECT_EQ(san("4k3/8/8/3pP3/8/8/8/4K3 w - d6", "exd6"), "e5d6");  // en passant
}

TEST(San, SignsPromotionsAndCastling) {
  const char* promotions = "rn5k/1P2P3/8/8/8/8/8/4K3 w - -";
  EXPECT_EQ(san(promotions, "e8=Q+"), "e7e8q");
  EXPECT_EQ(san(promotions, "bxa8=N"), "b7a8n");
  EXPECT_EQ(san(promotions, "e8=q"), "none");  // no promotion letter: a plain pawn move, which does not exist
  EXPECT_EQ(san(promotions, "e8"), "none");
  EXPECT_EQ(san(StartFen, "Nf3!"), "g1f3");
  EXPECT_EQ(san(StartFen, "e4?!"), "e2e4");  // one sign is cut, the other is passed over
  const char* castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
  EXPECT_EQ(san(castles, "O-O"), "e1g1");
  EXPECT_EQ(san(castles, "O-O-O"), "e1c1");
  EXPECT_EQ(san(castles, "O-O+"), "e1g1");
  EXPECT_EQ(san(castles, "O-O-O#"), "e1c1");
  EXPECT_EQ(san(castles, "0-0"), "none");  // digit zero is no castling
  EXPECT_EQ(san(castles, "0-0-0"), "none");
}

TEST(San, TokensThatMatchNothing) {
  EXPECT_EQ(san(StartFen, "1.e4"), "none");  // the move number becomes a rank hint
  EXPECT_EQ(san(StartFen, ""), "none");
  EXPECT_EQ(san(StartFen, "+"), "none");
  EXPECT_EQ(san(StartFen, "e5"), "none");
  EXPECT_EQ(san(StartFen, "Ke2"), "none");
  EXPECT_EQ(san(StartFen, "xyz!?#"), "none");
  EXPECT_EQ(san(StartFen, "=Q"), "none");
  EXPECT_EQ(san(StartFen, "e"), "none");  // a file without a rank names no square
  // A rank without a file names no square either, though file + 8 * rank would
  // land on the h-file of the rank below.
  EXPECT_EQ(san(StartFen, "4"), "none");
  EXPECT_EQ(san(StartFen, "x5"), "none");
  EXPECT_EQ(san(StartFen, "N4"), "none");
}

TEST(San, InCheckOnlyEvasionsMatch) {
  const char* check = "4k3/8/8/8/8/1N6/3P4/r3K3 w - -";  // the rook checks along the first rank
  EXPECT_EQ(san(check, "Nc1"), "b3c1");
  EXPECT_EQ(san(check, "Nxa1"), "b3a1");
  EXPECT_EQ(san(check, "Kf2"), "e1f2");
  EXPECT_EQ(san(check, "Nd4"), "none");
  EXPECT_EQ(san(check, "d4"), "none");
  EXPECT_EQ(san(check, "Kf1"), "none");
}

TEST(San, PrintsNothing) {
  Position pos = position_from(StartFen);
  testing::internal::CaptureStdout();
  read_san(pos, "e4");
  read_san(pos, "bogus");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
