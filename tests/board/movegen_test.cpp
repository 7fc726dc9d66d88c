// Generation order and the special rules: pins, en passant, evasions, castling,
// the playable test for stored moves, and check detection.
#include <string>
#include <vector>

#include "board/movetext.h"
#include "support/board_setup.h"

namespace {

std::vector<std::string> texts(const MoveList& list, int first = 1, int last = -1) {
  std::vector<std::string> out;
  for (int i = first; i <= (last < 0 ? list.count : last); i++) out.push_back(move_text(list.moves[i].move));
  return out;
}

bool has_move(const Position& pos, const std::string& text) {
  MoveList list = legal_moves(pos);
  for (int i = 1; i <= list.count; i++)
    if (move_text(list.moves[i].move) == text) return true;
  return false;
}

TEST(MoveGen, StartPositionOrder) {
  Position pos = position_from(StartFen);
  MoveList list;
  generate_tactical(pos, list);
  EXPECT_EQ(list.count, 0);
  generate_quiet(pos, list);
  ASSERT_EQ(list.count, 20);
  EXPECT_EQ(texts(list),
            (std::vector<std::string>{"a2a4", "b2b4", "c2c4", "d2d4", "e2e4", "f2f4", "g2g4", "h2h4", "a2a3", "b2b3",
                                      "c2c3", "d2d3", "e2e3", "f2f3", "g2g3", "h2h3", "b1a3", "b1c3", "g1f3", "g1h3"}));
}

TEST(MoveGen, TacticalOrder) {
  // Pushes to the last rank, captures toward the a-side, toward the h-side, en
  // passant, then knights, bishops, rooks, queens and the king.
  Position pos = position_from("1n2k3/P7/8/3pP3/8/8/8/4K3 w - d6");
  MoveList list;
  generate_tactical(pos, list);
  EXPECT_EQ(texts(list),
            (std::vector<std::string>{"a7a8q", "a7a8n", "a7a8r", "a7a8b", "a7b8q", "a7b8n", "a7b8r", "a7b8b", "e5d6"}));
  EXPECT_EQ(list.tacticalCount, list.count);
  EXPECT_TRUE(EpCapture(list.moves[9].move));
  EXPECT_EQ(CapturedPiece(list.moves[9].move), 0);
}

TEST(MoveGen, Pins) {
  // A pawn pinned on its file may push but not capture.
  Position pos = position_from("4r1k1/8/8/8/3p4/4P3/8/4K3 w - -");
  EXPECT_TRUE(has_move(pos, "e3e4"));
  EXPECT_FALSE(has_move(pos, "e3d4"));
  // A pawn pinned on a diagonal may only take the pinner.
  pos = position_from("6k1/8/8/8/8/2b5/3P4/4K3 w - -");
  EXPECT_TRUE(has_move(pos, "d2c3"));
  EXPECT_FALSE(has_move(pos, "d2d3"));
  EXPECT_FALSE(has_move(pos, "d2d4"));
  // A pinned knight never moves.
  pos = position_from("6k1/8/8/8/8/8/r2NK3/8 w - -");
  EXPECT_FALSE(has_move(pos, "d2f3"));
}

TEST(MoveGen, EnPassantThatExposesTheKingAlongTheRank) {
  Position pos = position_from("8/8/8/K2pP2r/8/8/8/7k w - d6");
  EXPECT_FALSE(has_move(pos, "e5d6"));
  pos = position_from("8/8/8/K2pP3/8/8/8/7k w - d6");
  EXPECT_TRUE(has_move(pos, "e5d6"));
}

TEST(MoveGen, Evasions) {
  // Double check: only king moves, and not back along the checking rook's line.
  Position pos = position_from("4r1k1/8/8/8/8/5n2/8/4K3 w - -");
  ASSERT_TRUE(in_check(pos));
  MoveList list = legal_moves(pos);
  for (int i = 1; i <= list.count; i++) EXPECT_EQ(PieceTypeOf[MovedPiece(list.moves[i].move)], King);
  pos = position_from("6k1/8/8/8/4r3/8/4K3/8 w - -");
  EXPECT_FALSE(has_move(pos, "e2e1"));
  EXPECT_TRUE(has_move(pos, "e2d1"));
  // Single check: pawn captures of the checker, interpositions, en passant, then the
  // pieces, then the king.
  pos = position_from("4k3/8/8/8/1b6/P7/2P5/1N1RK3 w - -");
  EXPECT_EQ(texts(legal_moves(pos)),
            (std::vector<std::string>{"a3b4", "c2c3", "b1d2", "b1c3", "d1d2", "e1f1", "e1e2", "e1f2"}));
  // The checking pawn taken en passant.
  pos = position_from("8/8/8/3pP3/4K3/8/8/7k w - d6");
  EXPECT_TRUE(has_move(pos, "e5d6"));
}

TEST(MoveGen, CastlingTests) {
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_TRUE(has_move(pos, "e1g1"));
  EXPECT_TRUE(has_move(pos, "e1c1"));
  pos = position_from("r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq -");  // f1 and... f2 rook attacks f1
  EXPECT_FALSE(has_move(pos, "e1g1"));
  EXPECT_TRUE(has_move(pos, "e1c1"));
  {
    BoardConfigGuard guard;
    BoardConfig.chess960 = true;
    // Chess960 castling is written king takes rook.
    Position p = position_from("rnbqk2r/pppppppp/8/8/8/8/PPPPPPPP/RNBQK2R w HAha -");
    EXPECT_TRUE(has_move(p, "e1h1"));
    // O-O-O with the rook on b1: a queen in the corner would see the king on c1.
    p = position_from("7k/8/8/8/8/8/8/qRK5 w B -");
    EXPECT_FALSE(has_move(p, "c1b1"));
    p = position_from("7k/8/8/8/8/8/8/bRK5 w B -");
    EXPECT_TRUE(has_move(p, "c1b1"));
  }
  // Outside Chess960 only a king on e1 castles: from b1 the two-square step "b1d1"
  // would name a move that lands the king on g1.
  pos = position_from("4k3/8/8/8/8/8/8/1K5R w K -");
  MoveList list = legal_moves(pos);
  for (int i = 1; i <= list.count; i++) EXPECT_EQ(CastleType(list.moves[i].move), 0) << move_text(list.moves[i].move);
  EXPECT_FALSE(move_playable(pos, encode_move(B1, D1, WhiteKing) | CastleOO));
  BoardConfigGuard guard;
  BoardConfig.chess960 = true;
  EXPECT_TRUE(has_move(pos, "b1h1"));
}

// Castlings come back from the table and the killer slots like any move; in Chess960
// their target is the castling rook's own square.
TEST(MoveGen, StoredCastlingsArePlayable) {
  BoardConfigGuard guard;
  struct Case {
    const char* fen;
    int castlings[2];  // standard chess, Chess960 (which reads only file letters)
  };
  for (const Case& c : {Case{"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", {2, 0}},
                        Case{"r3k1r1/8/8/8/8/8/8/R3K2R b KQkq -", {2, 0}},  // onto the rook's square
                        Case{"1r4kr/8/8/8/8/8/8/1R4KR w HBhb -", {0, 2}}}) {
    for (bool chess960 : {false, true}) {
      BoardConfig.chess960 = chess960;
      Position pos = position_from(c.fen);
      MoveList list = legal_moves(pos);
      int castlings = 0;
      for (int i = 1; i <= list.count; i++) {
        Move m = list.moves[i].move;
        if (!CastleType(m)) continue;
        castlings++;
        EXPECT_TRUE(move_playable(pos, m)) << c.fen << " " << move_text(m);
        // The word with another target or a stray flag is no castling of the position.
        EXPECT_FALSE(move_playable(pos, m ^ (1u << 6)));
        EXPECT_FALSE(move_playable(pos, m | EpFlag));
      }
      EXPECT_EQ(castlings, c.castlings[chess960]) << c.fen << " chess960 " << chess960;
    }
  }
}

TEST(MoveGen, PlayableTestForStoredMoves) {
  Position pos = position_from("r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq d6");
  MoveList list = legal_moves(pos);
  for (int i = 1; i <= list.count; i++) {
    EXPECT_TRUE(move_playable(pos, list.moves[i].move)) << move_text(list.moves[i].move);
    EXPECT_TRUE(move_keeps_king_safe(pos, list.moves[i].move));
  }
  // A killer that would now be a capture, a wrong piece, a blocked slider, and the
  // forms only a corrupted stored move can have.
  EXPECT_FALSE(move_playable(pos, encode_move(A1, A8, WhiteRook)));
  EXPECT_FALSE(move_playable(pos, encode_move(A1, A3, WhiteQueen)));
  EXPECT_FALSE(move_playable(pos, encode_move(A1, A3, WhiteRook, BlackPawn)));
  EXPECT_FALSE(move_playable(pos, encode_move(E1, E1, WhiteKing)));
  EXPECT_FALSE(move_playable(pos, encode_move(A1, C3, WhiteRook)));
  EXPECT_FALSE(move_playable(pos, encode_move(B5, D6, WhitePawn) | EpFlag));
  EXPECT_FALSE(move_playable(pos, 0));
  EXPECT_FALSE(move_playable(pos, encode_move(A1, A3, WhiteRook, 15)));  // no such piece code
  EXPECT_FALSE(move_playable(pos, encode_move(E5, E6, WhitePawn, 0, 14)));
  Position promo = position_from("4k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_FALSE(move_playable(promo, encode_move(A7, A8, WhitePawn)));
  EXPECT_TRUE(move_playable(promo, encode_move(A7, A8, WhitePawn, 0, WhiteKnight)));
  EXPECT_FALSE(move_playable(promo, encode_move(A7, A8, WhitePawn, 0, BlackQueen)));
  // Leaving the king in check is caught by the separate safety test.
  Position pinned = position_from("4r1k1/8/8/8/8/8/4N3/4K3 w - -");
  Move knight = encode_move(E2, C3, WhiteKnight);
  EXPECT_TRUE(move_playable(pinned, knight));
  EXPECT_FALSE(move_keeps_king_safe(pinned, knight));
}

TEST(MoveGen, GivesCheck) {
  // Direct, discovered, by the castling rook, by an en-passant discovery, by promotion.
  Position pos = position_from("3k4/8/8/8/8/8/8/R3K2R w KQ -");
  MoveList list = legal_moves(pos);
  for (int i = 1; i <= list.count; i++) {
    Move m = list.moves[i].move;
    Position after = pos;
    make_move(after, m, 1);
    EXPECT_EQ(gives_check(pos, m), in_check(after)) << move_text(m);
  }
  for (const char* fen :
       {"3k4/8/8/3B4/8/8/3R4/4K3 w - -", "8/8/8/1k1pP2R/8/8/8/4K3 w - d6", "1k6/4P3/8/8/8/8/8/4K3 w - -",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "8/8/8/2k5/3pP3/8/8/4KB2 b - e3"}) {
    Position p = position_from(fen);
    MoveList moves = legal_moves(p);
    for (int i = 1; i <= moves.count; i++) {
      Move m = moves.moves[i].move;
      Position after = p;
      make_move(after, m, 1);
      EXPECT_EQ(gives_check(p, m), in_check(after)) << fen << " " << move_text(m);
    }
  }
}

}  // namespace
