// Reading FEN: the fields, the two dialects, and input that is no chess position.
#include <cstdio>

#include "board/movetext.h"
#include "support/board_setup.h"

namespace {

TEST(Fen, StartPosition) {
  Position pos = position_from(StartFen);
  for (int c : {White, Black}) {
    const Castling& ci = pos.CastleInfo[c];
    EXPECT_TRUE(ci.CanCastleOO && ci.CanCastleOOO);
    EXPECT_EQ(ci.CastleKingSq, c == White ? E1 : E8);
    EXPECT_EQ(ci.RRookSq, c == White ? H1 : H8);
    EXPECT_EQ(ci.LRookSq, c == White ? A1 : A8);
  }
  EXPECT_TRUE(pos.PsqScore[White] == pos.PsqScore[Black]);
  EXPECT_EQ(pos.GamePly, 1);
  EXPECT_EQ(pos.history_at(1), pos.HashKey);
  EXPECT_EQ(pos.history_at(0), 0u);
}

TEST(Fen, OptionalAndIgnoredFields) {
  Position pos = position_from("8/8/8/8/8/8/8/K6k w - -");
  EXPECT_EQ(pos.EpTarget, 0);
  EXPECT_EQ(pos.Fifty, 0);
  EXPECT_EQ(pos.GamePly, 1);
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOO || pos.CastleInfo[Black].CanCastleOOO);
  EXPECT_EQ(pos.SideToMove, White);
  // Ends right after the castling field: complete.
  EXPECT_TRUE(position_from("r3k2r/8/8/8/8/8/8/R3K2R b KQkq").CastleInfo[Black].CanCastleOOO);
  // The counters: the fifty-move rule counts on, the plies count from the first move.
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k w - - 37 80").Fifty, 37);
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k w - - 37 80").GamePly, 159);
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k b - - 0 1").GamePly, 2);
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k b - - 999 -4").Fifty, 100);  // absurd counters are bounded
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k b - - 999 -4").GamePly, 2);
  // Any side letter but w means black.
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k W - -").SideToMove, White);
  EXPECT_EQ(position_from("8/8/8/8/8/8/8/K6k x - -").SideToMove, Black);
}

TEST(Fen, EnPassantTargetFromTheFileLetter) {
  // The rank digit is not read: the side to move decides the rank.
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(pos.EpTarget, E3);
  pos = position_from("rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq e9 0 1");
  EXPECT_EQ(pos.EpTarget, E6);
  // A target no double push can have left is dropped, so it can never make a
  // capture of a pawn that is not there.
  EXPECT_EQ(position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e6").EpTarget, 0);
}

TEST(Fen, Chess960CastlingLetters) {
  BoardConfigGuard guard;
  BoardConfig.chess960 = true;
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha -");
  for (int c : {White, Black}) {
    EXPECT_TRUE(pos.CastleInfo[c].CanCastleOO && pos.CastleInfo[c].CanCastleOOO);
    EXPECT_EQ(pos.CastleInfo[c].RRookSq, c == White ? H1 : H8);
    EXPECT_EQ(pos.CastleInfo[c].LRookSq, c == White ? A1 : A8);
  }
  pos = position_from(StartFen);
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOO || pos.CastleInfo[White].CanCastleOOO);
  // Two rooks on one side of the king: the letter names the one that may castle.
  pos = position_from("4k3/8/8/8/8/8/8/RR2K3 w B -");
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOOO);
  EXPECT_EQ(pos.CastleInfo[White].LRookSq, B1);
}

TEST(Fen, VeltrixDialect) {
  Position pos = position_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha -", Dialect::Veltrix);
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOO && pos.CastleInfo[Black].CanCastleOOO);
  pos = position_from("4k3/8/8/8/8/8/8/4K2R w H -", Dialect::Veltrix);
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOO);
  // Blanks inside the placement are skipped, and "w" counts as an empty square.
  pos = position_from("4k3/8/8/8/8/8/8/ww w wK2 R w K -", Dialect::Veltrix);
  EXPECT_EQ(pos.Board[E1], WhiteKing);
  EXPECT_EQ(pos.Board[H1], WhiteRook);
  Position keep = position_from(StartFen);
  EXPECT_FALSE(read_fen(keep, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w", Dialect::Veltrix));
  EXPECT_FALSE(read_fen(keep, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", Dialect::Veltrix));
  EXPECT_FALSE(read_fen(keep, "", Dialect::Veltrix));
}

TEST(Fen, CastlingRightWithoutItsRookIsDropped) {
  Position pos = position_from("4k3/8/8/8/8/8/8/4K2R w KQ -");
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOO);
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOOO);
  // A king off its first rank castles nowhere, whatever rooks stand there.
  pos = position_from("4k3/8/8/8/4K3/8/8/R6R w KQ -");
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOO || pos.CastleInfo[White].CanCastleOOO);
}

// Text that is no chess position is rejected and the position stays as it was.
TEST(Fen, RejectedTextLeavesThePositionAlone) {
  BoardConfigGuard guard;
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  Position before = pos;
  for (const char* bad : {
           "",
           "rnbqkbnrr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",  // nine squares on a rank
           "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
           "rnbqkbnr/pppppppp/45/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
           "8/8/8/8/8/8/8/8/8/K6k w - -",                        // a ninth rank
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w - -",  // no white king
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w - -",  // two white kings
           "k7/8/8/8/8/8/8/KQQQQQQQ w - -",                      // material no game reaches
           "k7/8/8/8/8/8/8/K6P w - -",                           // pawn on the first rank
           "k7/8/8/8/8/8/8/R6K w - -",                           // side not to move in check
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",        // no side to move
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w",      // no castling field
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w - -",
           "\xff\xfe garbage",
       }) {
    EXPECT_FALSE(read_fen(pos, bad)) << bad;
    EXPECT_EQ(pos.HashKey, before.HashKey) << bad;
    EXPECT_EQ(pos.Board[E1], WhiteKing) << bad;
  }
}

TEST(Fen, ErrorMessagesOnlyWithDebugInfo) {
  BoardConfigGuard guard;
  Position pos = position_from(StartFen);
  testing::internal::CaptureStdout();
  read_fen(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  BoardConfig.debugInfo = true;
  testing::internal::CaptureStdout();
  read_fen(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  read_fen(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w");
  read_fen(pos, "rnbqkbnr/pXpppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w");
  read_fen(pos, "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "info string FEN error on color!\n"
            "info string FEN error on castle!\n"
            "info string FEN error on pieces!\n"
            "info string FEN error at begin !\n");
}

}  // namespace
