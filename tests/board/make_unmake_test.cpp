// Make and unmake along long random games: every incrementally kept field must
// equal its value recomputed from scratch, and unmake must restore everything.
#include <random>
#include <vector>

#include "board/movetext.h"
#include "support/board_setup.h"

namespace {

void expect_consistent(const Position& pos) {
  Position rebuilt = pos;
  rebuild_placement(rebuilt);
  for (int c = Black; c <= White; c++) {
    EXPECT_EQ(pos.ColourBB[c], rebuilt.ColourBB[c]);
    EXPECT_EQ(pos.KingSq[c], rebuilt.KingSq[c]);
    EXPECT_EQ(pos.ColourCount[c], rebuilt.ColourCount[c]);
    for (int t = 1; t <= 6; t++) {
      EXPECT_EQ(pos.PieceBB[c][t], rebuilt.PieceBB[c][t]);
      EXPECT_EQ(pos.PieceCount[c][t], rebuilt.PieceCount[c][t]);
    }
    EXPECT_TRUE(pos.PsqScore[c] == compute_psq_score(pos, c));
  }
  EXPECT_EQ(pos.HashKey, compute_hash_key(pos));
  EXPECT_EQ(pos.PawnKey, compute_pawn_key(pos));
  EXPECT_EQ(pos.MaterialKey, compute_material_key(pos));
  EXPECT_EQ(pos.history_at(pos.GamePly), pos.HashKey);
}

void expect_same_state(const Position& a, const Position& b) {
  EXPECT_EQ(a.SideToMove, b.SideToMove);
  EXPECT_EQ(a.Fifty, b.Fifty);
  EXPECT_EQ(a.EpTarget, b.EpTarget);
  EXPECT_EQ(a.GamePly, b.GamePly);
  for (int c = Black; c <= White; c++) {
    const Castling &x = a.CastleInfo[c], &y = b.CastleInfo[c];
    EXPECT_TRUE(x.CanCastleOO == y.CanCastleOO && x.CanCastleOOO == y.CanCastleOOO &&
                x.CastleKingSq == y.CastleKingSq && x.RRookSq == y.RRookSq && x.LRookSq == y.LRookSq);
    EXPECT_EQ(a.ColourBB[c], b.ColourBB[c]);
    EXPECT_EQ(a.KingSq[c], b.KingSq[c]);
    EXPECT_EQ(a.ColourCount[c], b.ColourCount[c]);
    EXPECT_TRUE(a.PsqScore[c] == b.PsqScore[c]);
    for (int t = 1; t <= 6; t++) {
      EXPECT_EQ(a.PieceBB[c][t], b.PieceBB[c][t]);
      EXPECT_EQ(a.PieceCount[c][t], b.PieceCount[c][t]);
    }
  }
  for (int sq = 0; sq < 64; sq++) EXPECT_EQ(a.Board[sq], b.Board[sq]);
  EXPECT_EQ(a.HashKey, b.HashKey);
  EXPECT_EQ(a.PawnKey, b.PawnKey);
  EXPECT_EQ(a.MaterialKey, b.MaterialKey);
  for (int ply = 0; ply <= a.GamePly; ply++) EXPECT_EQ(a.history_at(ply), b.history_at(ply));
}

struct MoveKinds {
  int captures = 0, enPassant = 0, promotions = 0, underPromotions = 0, castlings = 0;
};

void note_kind(Move m, MoveKinds& seen) {
  if (CapturedPiece(m)) seen.captures++;
  if (EpCapture(m)) seen.enPassant++;
  if (PromotionPiece(m)) {
    seen.promotions++;
    if (PieceTypeOf[PromotionPiece(m)] != Queen) seen.underPromotions++;
  }
  if (CastleType(m)) seen.castlings++;
}

// Plays random games from `fen`; at every ply one move is made, checked, unmade,
// checked again, and then a (possibly different) move is played on.
void random_games(const char* fen, int games, int maxPlies, std::mt19937& rng, MoveKinds& seen) {
  for (int g = 0; g < games; g++) {
    Position pos = position_from(fen);
    for (int ply = 1; ply <= maxPlies; ply++) {
      MoveList list = legal_moves(pos);
      if (list.count == 0 || is_draw(pos)) break;
      Move probe = list.moves[1 + rng() % list.count].move;
      Position before = pos;
      make_move(pos, probe, ply % MaxPly);
      expect_consistent(pos);
      unmake_move(pos, probe, ply % MaxPly);
      expect_same_state(pos, before);
      if (::testing::Test::HasFailure()) return;

      Move played = list.moves[1 + rng() % list.count].move;
      note_kind(played, seen);
      make_move(pos, played, ply % MaxPly);
      expect_consistent(pos);
    }
  }
}

TEST(MakeUnmake, RandomGamesKeepEveryFieldConsistent) {
  std::mt19937 rng(20261207);
  MoveKinds seen;
  random_games(StartFen, 40, 400, rng, seen);
  random_games("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 40, 200, rng, seen);
  random_games("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 40, 200, rng, seen);
  random_games("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 40, 300, rng, seen);
  random_games("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6", 40, 200, rng, seen);
  EXPECT_GT(seen.captures, 100);
  EXPECT_GT(seen.enPassant, 5);
  EXPECT_GT(seen.underPromotions, 5);
  EXPECT_GT(seen.castlings, 20);
}

TEST(MakeUnmake, Chess960RandomGames) {
  BoardConfigGuard guard;
  BoardConfig.chess960 = true;
  std::mt19937 rng(960);
  MoveKinds seen;
  random_games("bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", 30, 200, rng, seen);
  random_games("1rqbkrbn/1ppppp1p/1n6/p1N3p1/8/2P4P/PP1PPPP1/1RQBKRBN w FBfb - 0 9", 30, 200, rng, seen);
  EXPECT_GT(seen.castlings, 5);
}

// The castlings where the king's or the rook's target is the other's origin.
TEST(MakeUnmake, Chess960CastlingOntoTheOtherPiecesSquare) {
  BoardConfigGuard guard;
  BoardConfig.chess960 = true;
  struct Case {
    const char* fen;
    const char* after;  // the placement after castling
  };
  for (const Case& c : {Case{"4k3/8/8/8/8/8/8/RK6 w A -", "4k3/8/8/8/8/8/8/2KR4"},
                        Case{"4k3/8/8/8/8/8/8/6KR w H -", "4k3/8/8/8/8/8/8/5RK1"}}) {
    Position pos = position_from(c.fen);
    MoveList list = legal_moves(pos);
    Move castle = 0;
    for (int i = 1; i <= list.count; i++)
      if (CastleType(list.moves[i].move)) castle = list.moves[i].move;
    ASSERT_NE(castle, 0u) << c.fen;
    EXPECT_EQ(To(castle), CastleType(castle) == 1 ? pos.CastleInfo[White].RRookSq : pos.CastleInfo[White].LRookSq);
    Position before = pos;
    make_move(pos, castle, 1);
    expect_consistent(pos);
    Position expected = position_from(std::string(c.after) + " b - -");
    for (int sq = 0; sq < 64; sq++) EXPECT_EQ(pos.Board[sq], expected.Board[sq]) << c.fen;
    EXPECT_EQ(pos.Fifty, 1);  // castling does not reset the counter
    unmake_move(pos, castle, 1);
    expect_same_state(pos, before);
  }
}

TEST(MakeUnmake, RightsAndEnPassantTarget) {
  Position pos = position_from("r3k2r/8/8/8/8/8/4P3/R3K2R w KQkq -");
  make_move(pos, parse_move(pos, "h1h2"), 1);
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOO);
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOOO);
  make_move(pos, parse_move(pos, "e8d8"), 1);
  EXPECT_FALSE(pos.CastleInfo[Black].CanCastleOO);
  EXPECT_FALSE(pos.CastleInfo[Black].CanCastleOOO);
  make_move(pos, parse_move(pos, "e2e4"), 1);
  EXPECT_EQ(pos.EpTarget, E3);  // set although no black pawn can take
  EXPECT_EQ(pos.Fifty, 0);
  EXPECT_EQ(pos.GamePly, 4);
}

// The rook on h1 is taken; the a1 rook that later stands on h1 is another rook.
TEST(MakeUnmake, TakenRookTakesItsCastlingRight) {
  Position pos = position_from("4k3/8/8/8/8/8/6b1/R3K2R b KQ -");
  make_move(pos, parse_move(pos, "g2h1"), 1);
  EXPECT_FALSE(pos.CastleInfo[White].CanCastleOO);
  EXPECT_TRUE(pos.CastleInfo[White].CanCastleOOO);
  for (const char* move : {"a1a2", "e8d8", "a2h2", "d8e8", "h2h1", "e8d8"}) make_move(pos, parse_move(pos, move), 1);
  EXPECT_EQ(pos.Board[H1], WhiteRook);
  EXPECT_EQ(parse_move(pos, "e1g1"), 0u);
}

}  // namespace
