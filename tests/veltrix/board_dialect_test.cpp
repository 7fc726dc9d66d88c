// Where veltrix reads text differently from the classic engine: its FEN reader
// and its castling moves.
#include <gtest/gtest.h>

#include "veltrix_support.h"

using namespace veltrix;

namespace {

TEST(VeltrixFen, RejectsUnfinishedOrForeignPlacementsSilently) {
  ensure_veltrix();
  Position pos = position_from(StartFen, Dialect::Veltrix);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(read_fen(pos, "rnbqkbnr/pppp", Dialect::Veltrix));
  EXPECT_FALSE(read_fen(pos, "rnbqkbnr/ppxppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", Dialect::Veltrix));
  EXPECT_FALSE(read_fen(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b", Dialect::Veltrix));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  // A rejected text leaves the position it was given as it was.
  EXPECT_EQ(pos.HashKey, position_from(StartFen, Dialect::Veltrix).HashKey);
}

TEST(VeltrixFen, CastlingLettersWhateverTheChess960Switch) {
  BoardConfigGuard guard;
  ensure_veltrix();
  // File letters at or left of the king's file give the a-side right.
  Position pos = position_from("4k3/8/8/8/8/8/8/R3K2R w E -", Dialect::Veltrix);
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOOO);
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOO);
  pos = position_from("r3k2r/8/8/8/8/8/8/4K3 b h -", Dialect::Veltrix);
  EXPECT_TRUE(pos.CastleInfo[Black].CanCastleOO);
  EXPECT_FALSE(pos.CastleInfo[Black].CanCastleOOO);
  BoardConfig.chess960 = true;
  pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", Dialect::Veltrix);
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOO && pos.CastleInfo[White].CanCastleOOO);
  EXPECT_TRUE(pos.CastleInfo[Black].CanCastleOO && pos.CastleInfo[Black].CanCastleOOO);
}

TEST(VeltrixMoveText, LowerCaseCastlingOnlyWithCastlingOO) {
  BoardConfigGuard guard;
  Position pos = veltrix_position("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  BoardConfig.castlingOO = false;
  EXPECT_EQ(parse_move(pos, "o-o", Dialect::Veltrix), 0u);
  BoardConfig.castlingOO = true;
  EXPECT_EQ(CastleType(parse_move(pos, "o-o", Dialect::Veltrix)), 1);
  EXPECT_EQ(CastleType(parse_move(pos, "o-o-o", Dialect::Veltrix)), 2);
  EXPECT_EQ(move_text(parse_move(pos, "O-O-O", Dialect::Veltrix)), "O-O-O");
}

}  // namespace
