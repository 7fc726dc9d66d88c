// Piece patterns, piece activity, outposts, king safety and hanging pieces.
#include <string>

#include "eval_support.h"

using namespace classic;

namespace {

using PiecesTest = EvalTest;

ScorePair patterns_of(const char* fen) { return evaluate_patterns(position_from(fen)); }

ScorePair pieces_of(const char* fen) {
  Position pos = position_from(fen);
  AttackInfo info;
  init_attack_info(pos, info);
  return evaluate_pieces(pos, info, probe_pawns(pos));
}

// King safety and hanging pieces after the piece pass that fills the attack sets.
struct AttackTerms {
  int kingSafety;
  ScorePair hanging;
  AttackInfo info;
};
AttackTerms attack_terms_of(const char* fen) {
  Position pos = position_from(fen);
  PawnCacheEntry pawns = probe_pawns(pos);
  AttackTerms t{};
  init_attack_info(pos, t.info);
  evaluate_pieces(pos, t.info, pawns);
  t.kingSafety = evaluate_king_safety(pos, t.info, pawns);
  t.hanging = evaluate_hanging(pos, t.info);
  return t;
}

TEST_F(PiecesTest, StartPositionCancelsOut) {
  for (const char* fen : {StartFen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -"}) {
    AttackTerms t = attack_terms_of(fen);
    EXPECT_EQ(patterns_of(fen), pair(0, 0));
    EXPECT_EQ(pieces_of(fen), pair(0, 0));
    EXPECT_EQ(t.kingSafety, 0);
    EXPECT_EQ(t.hanging, pair(0, 0));
  }
}

TEST_F(PiecesTest, TrappedAndBlockedPieces) {
  EXPECT_EQ(patterns_of("4k3/Np6/p7/8/8/8/8/4K3 w - -"), pair(-300, -300));
  EXPECT_EQ(patterns_of("4k3/8/8/8/8/P7/nP6/4K3 w - -"), pair(300, 300));  // Black's knight on a2
  EXPECT_EQ(patterns_of("4k3/5p1B/6p1/8/8/8/8/4K3 w - -"), pair(-300, -300));
  EXPECT_EQ(patterns_of("4k3/Np6/8/8/8/8/8/4K3 w - -"), pair(0, 0));  // a6 is free
  EXPECT_EQ(patterns_of("4k3/8/8/8/8/3B4/3P4/4K3 w - -"), pair(-50, 0));
  // A king stepped aside shuts its rook in; castled or at home it does not.
  EXPECT_EQ(patterns_of("4k3/8/8/8/8/8/7P/5K1R w - -"), pair(-100, 0));
  EXPECT_EQ(patterns_of("4k3/8/8/8/8/8/7P/4K2R w - -"), pair(0, 0));
  EXPECT_EQ(patterns_of("rk6/p7/8/8/8/8/8/4K3 w - -"), pair(100, 0));
}

TEST_F(PiecesTest, CornerBishopOnlyInChess960) {
  BoardConfigGuard guard;
  const char* fen = "4k3/8/8/8/8/8/1P6/B3K3 w - -";
  BoardConfig.chess960 = false;
  EXPECT_EQ(patterns_of(fen), pair(0, 0));
  BoardConfig.chess960 = true;
  EXPECT_EQ(patterns_of(fen), pair(-300, 0));
}

TEST_F(PiecesTest, MobilityAndTheSeventhRank) {
  // A knight in the corner reaches two squares: 16 * (2 - 4) in both halves.
  EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/N3K3 w - -"), pair(-32, -32));
  // Rook a7 on an open file (20, 20) with 14 squares (40, 80): on the seventh with
  // the king on the eighth (20, 40); with the king on the sixth not.
  EXPECT_EQ(pieces_of("4k3/R7/8/8/8/8/8/4K3 w - -"), pair(80, 140));
  EXPECT_EQ(pieces_of("8/R7/4k3/8/8/8/8/4K3 w - -"), pair(60, 100));
  // A knight hit by a pawn pays (10, 20): b3 attacks a2, b6 does not.
  EXPECT_EQ(pieces_of("4k3/8/8/8/8/1p6/N7/4K3 w - -") - pieces_of("4k3/8/1p6/8/8/8/N7/4K3 w - -"), pair(-10, -20));
}

TEST_F(PiecesTest, Outposts) {
  auto outpost = [](const char* fen, int sq, int colour) { return evaluate_outpost(position_from(fen), sq, colour); };
  // e5 defended by d4, no black minor pieces: 2 * (10 + 10).
  EXPECT_EQ(outpost("4k3/8/8/4N3/3P4/8/8/4K3 w - -", E5, White), 40);
  EXPECT_EQ(outpost("4k3/8/8/4N3/8/8/8/4K3 w - -", E5, White), 20);  // undefended
  // Enemy minors that could trade for it: v + v / 2.
  EXPECT_EQ(outpost("4k1n1/8/8/4N3/3P4/8/8/4K3 w - -", E5, White), 30);
  EXPECT_EQ(outpost("4kb2/8/8/4N3/3P4/8/8/4K3 w - -", E5, White), 30);    // bishop on e5's colour
  EXPECT_EQ(outpost("2b1k3/8/8/4N3/3P4/8/8/4K3 w - -", E5, White), 40);   // bishop off its colour
  EXPECT_EQ(outpost("2b1kb2/8/8/4N3/3P4/8/8/4K3 w - -", E5, White), 30);  // two bishops
  // A pawn that attacks it now or after advancing spoils it; one beside it does not.
  EXPECT_EQ(outpost("4k3/8/3p4/4N3/3P4/8/8/4K3 w - -", E5, White), 0);
  EXPECT_EQ(outpost("4k3/5p2/8/4N3/3P4/8/8/4K3 w - -", E5, White), 0);
  EXPECT_EQ(outpost("4k3/8/8/4Np2/3P4/8/8/4K3 w - -", E5, White), 40);
  // Black mirrored: knight e4 defended by d5.
  EXPECT_EQ(outpost("4k3/8/8/3p4/4n3/8/8/4K3 b - -", E4, Black), 40);
  // Edge squares are worth nothing; the eighth rank has no square in front.
  EXPECT_EQ(outpost("4k3/8/8/8/8/8/8/N3K3 w - -", A1, White), 0);
  EXPECT_EQ(outpost("3N3k/4P3/8/8/8/8/8/4K3 w - -", D8, White), 20);
}

TEST_F(PiecesTest, RookFileAndEnemyKingFile) {
  // Rook e1 on the half-open e-file (10) with White's queen hunting the king: only
  // the black king moves between the positions, from h8 (three files away) to the
  // rook's file (20 more) or a file next to it (10 more).
  auto with_king = [](const char* rank8, const char* rest) { return pieces_of((std::string(rank8) + rest).c_str()); };
  const char* rest = "/Q3p2p/8/8/8/8/8/K3R3 w - -";
  ScorePair far = with_king("7k", rest);
  EXPECT_EQ(with_king("4k3", rest) - far, pair(20, 0));
  EXPECT_EQ(with_king("5k2", rest) - far, pair(10, 0));
  EXPECT_EQ(with_king("3k4", rest) - far, pair(10, 0));
  // Behind its own pawn the rook earns neither the file nor the king bonus.
  const char* blocked = "/Q3p2p/8/8/8/8/4P3/K3R3 w - -";
  EXPECT_EQ(with_king("4k3", blocked) - with_king("7k", blocked), pair(0, 0));
  // Without a queen there is no king hunt.
  const char* noQueen = "/B3p2p/8/8/8/8/8/K3R3 w - -";
  EXPECT_EQ(with_king("4k3", noQueen) - with_king("7k", noQueen), pair(0, 0));
}

TEST_F(PiecesTest, KingAttackNeedsTwoAttackers) {
  // Queen a1 hits f6 and g7 of the zone, alone: only the shelter of f7-g7-h7 (96).
  AttackTerms one = attack_terms_of("6k1/5ppp/8/8/8/8/R7/Q3K1N1 w - -");
  EXPECT_EQ(one.info.kingAttackers[White], 1);
  EXPECT_EQ(one.kingSafety, -96);
  // With rook h1 on h6 and h7 too: weight 2 * 80 + 2 * 40 = 240, half of it counts.
  AttackTerms two = attack_terms_of("6k1/5ppp/8/8/8/8/8/Q3K1NR w - -");
  EXPECT_EQ(two.info.kingAttackers[White], 2);
  EXPECT_EQ(two.info.kingAttackWeight[White], 240);
  EXPECT_EQ(two.kingSafety, -(96 - 120));
}

TEST_F(PiecesTest, KingAttackPercentages) {
  Position pos = position_from("6k1/5ppp/8/8/8/8/8/4K3 w - -");
  PawnCacheEntry pawns = probe_pawns(pos);
  auto safety = [&](int attackers, int weight) {
    AttackInfo info{};
    info.kingAttackEnabled[White] = 1;
    info.kingAttackers[White] = attackers;
    info.kingAttackWeight[White] = weight;
    return evaluate_king_safety(pos, info, pawns);
  };
  EXPECT_EQ(safety(3, 200), -(96 - 120));
  EXPECT_EQ(safety(7, 200), -(96 - 198));
  EXPECT_EQ(safety(8, 200), -(96 - 200));
  EXPECT_EQ(safety(9, 200), -(96 - 200));  // more than eight count as eight
  // The cached shelter is used only for the square it was computed for.
  PawnCacheEntry stale = pawns;
  stale.shelter[Black] = 5;
  AttackInfo info{};
  info.kingAttackEnabled[White] = 1;
  EXPECT_EQ(evaluate_king_safety(pos, info, stale), -5);
  stale.shelterKingSq[Black] = H8;
  EXPECT_EQ(evaluate_king_safety(pos, info, stale), -96);
  // Without the enemy's king hunt, no value at all.
  EXPECT_EQ(evaluate_king_safety(pos, AttackInfo{}, pawns), 0);
}

TEST_F(PiecesTest, HangingPieces) {
  // Rook d1 attacks the lone knight d4.
  EXPECT_EQ(attack_terms_of("4k3/8/8/8/3n4/8/8/3RK3 w - -").hanging, pair(4, 8));
  // Defended by e5, or attacked by the c3 pawn: not hanging.
  EXPECT_EQ(attack_terms_of("4k3/8/8/4p3/3n4/8/8/3RK3 w - -").hanging, pair(0, 0));
  EXPECT_EQ(attack_terms_of("4k3/8/8/8/3n4/2P5/8/3RK3 w - -").hanging, pair(0, 0));
  // A king next to an enemy queen is never a target; the queen is (16, 32).
  EXPECT_EQ(attack_terms_of("4k3/8/8/8/8/8/4q3/R3K3 w - -").hanging, pair(16, 32));
}

}  // namespace
