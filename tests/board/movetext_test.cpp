// Move text in both directions, the draw test and the text board.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "board/movetext.h"
#include "board/settings.h"
#include "support/board_setup.h"

namespace {

TEST(MoveText, PromotionsAndOddTexts) {
  Position pos = position_from("4k3/P7/8/8/8/8/4P3/4K3 w - -");
  Move knight = parse_move(pos, "a7a8n");
  ASSERT_NE(knight, 0u);
  EXPECT_EQ(PromotionPiece(knight), WhiteKnight);
  EXPECT_EQ(move_text(knight), "a7a8n");
  EXPECT_EQ(parse_move(pos, "a7a8N"), knight);  // interfaces write the letter in either case
  EXPECT_EQ(parse_move(pos, "a7a8"), 0u);
  EXPECT_EQ(move_text(parse_move(pos, "e2e4x")), "e2e4");  // unknown fifth character: plain move
  EXPECT_EQ(parse_move(pos, "a7a8qq"), 0u);                // six characters carry no promotion
  EXPECT_EQ(parse_move(pos, "e2e5"), 0u);
  EXPECT_EQ(parse_move(pos, "e2"), 0u);
  EXPECT_EQ(parse_move(pos, ""), 0u);
  EXPECT_EQ(move_text(0), "0000");
  EXPECT_EQ(move_text(1), "0000");
  EXPECT_EQ(move_text(encode_move(E7, E8, WhitePawn, 0, 15)), "e7e8");  // a word read from a damaged file
  testing::internal::CaptureStdout();
  print_move(knight);
  print_move(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "a7a8n 0000 ");
}

TEST(MoveText, CastlingNotations) {
  BoardConfigGuard guard;
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  Move oo = parse_move(pos, "e1g1");
  EXPECT_EQ(CastleType(oo), 1);
  // In standard chess interfaces may also write the king taking its own rook.
  EXPECT_EQ(parse_move(pos, "e1h1"), oo);
  EXPECT_EQ(CastleType(parse_move(pos, "e1a1")), 2);
  EXPECT_EQ(parse_move(pos, "e1b1"), 0u);
  BoardConfig.castlingOO = true;
  EXPECT_EQ(move_text(oo), "O-O");
  EXPECT_EQ(parse_move(pos, "O-O"), oo);
  EXPECT_EQ(CastleType(parse_move(pos, "O-O-O")), 2);
  EXPECT_EQ(parse_move(pos, "o-o"), 0u);
  EXPECT_EQ(CastleType(parse_move(pos, "o-o-o", Dialect::Veltrix)), 2);
  BoardConfig.chess960 = true;
  Position p960 = position_from("r3k2r/8/8/8/8/8/8/R3K2R w HAha -");
  Move oo960 = parse_move(p960, "O-O");
  EXPECT_EQ(To(oo960), H1);
  BoardConfig.castlingOO = false;
  EXPECT_EQ(move_text(oo960), "e1h1");
  EXPECT_EQ(parse_move(p960, "e1h1"), oo960);
}

TEST(MoveText, RoundTripOfEveryMove) {
  for (const char* fen : {StartFen, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"}) {
    Position pos = position_from(fen);
    MoveList list = legal_moves(pos);
    for (int i = 1; i <= list.count; i++)
      EXPECT_EQ(parse_move(pos, move_text(list.moves[i].move).c_str()), list.moves[i].move);
  }
}

TEST(Draw, FiftyMovesAndMaterial) {
  Position pos = position_from("4k3/8/8/8/8/8/8/R3K3 w - -");
  EXPECT_FALSE(is_draw(pos));
  pos.Fifty = 100;
  EXPECT_TRUE(is_draw(pos));
  EXPECT_TRUE(is_draw(position_from("4k3/8/8/8/8/8/8/2B1K3 w - -")));
  EXPECT_TRUE(is_draw(position_from("4k3/8/8/8/8/8/8/4K3 b - -")));
  EXPECT_FALSE(is_draw(position_from("4k3/8/8/8/8/8/8/1NN1K3 w - -")));
  EXPECT_FALSE(is_draw(position_from("4k3/8/8/8/8/8/8/2B1Kb2 w - -")));
}

TEST(Draw, Repetition) {
  Position pos = position_from("4k3/8/8/8/8/8/8/R3K3 w - -");
  const char* shuffle[] = {"a1a2", "e8d8", "a2a1", "d8e8"};
  int ply = 1;
  for (const char* m : shuffle) make_move(pos, parse_move(pos, m), ply++);
  // The position stood once before: enough for veltrix, not for the classic engine.
  EXPECT_FALSE(is_draw(pos, RepetitionRule::TwoEarlier));
  EXPECT_TRUE(is_draw(pos, RepetitionRule::OneEarlier));
  for (const char* m : shuffle) make_move(pos, parse_move(pos, m), ply++);
  EXPECT_TRUE(is_draw(pos, RepetitionRule::TwoEarlier));
  // An irreversible move cuts the stretch the test looks back over.
  Position pawn = position_from("4k3/8/8/8/8/8/P7/R3K3 w - -");
  make_move(pawn, parse_move(pawn, "e1d1"), 1);
  make_move(pawn, parse_move(pawn, "e8d8"), 1);
  make_move(pawn, parse_move(pawn, "d1e1"), 1);
  make_move(pawn, parse_move(pawn, "d8e8"), 1);
  make_move(pawn, parse_move(pawn, "a2a3"), 1);
  EXPECT_EQ(pawn.Fifty, 0);
  EXPECT_FALSE(is_draw(pawn, RepetitionRule::OneEarlier));
}

TEST(Draw, LongGamesStayInsideTheKeyHistory) {
  Position pos = position_from("4k3/8/8/8/8/8/8/R3K3 w - -");
  const char* shuffle[] = {"a1a2", "e8d8", "a2a1", "d8e8"};
  for (int i = 0; i < 1200; i++) {
    make_move(pos, parse_move(pos, shuffle[i % 4]), 1);
    pos.Fifty = 0;  // keep the game going past the fifty-move rule
  }
  EXPECT_EQ(pos.GamePly, 1201);
  make_move(pos, parse_move(pos, "a1a2"), 1);
  make_move(pos, parse_move(pos, "e8d8"), 1);
  make_move(pos, parse_move(pos, "a2a1"), 1);
  make_move(pos, parse_move(pos, "d8e8"), 1);
  EXPECT_TRUE(is_draw(pos, RepetitionRule::OneEarlier));
}

TEST(TextBoard, StartPosition) {
  Position pos = position_from(StartFen);
  TableAge = 7;  // the age of the latest search, whatever position it was given
  std::string dir = testing::TempDir();
  testing::internal::CaptureStdout();
  print_board(pos);
  std::string out = testing::internal::GetCapturedStdout();
  const char* line = "  +----+----+----+----+----+----+----+----+ \n";
  std::string expected = std::string("\n\n") + line + "8 | -R | -N | -B | -Q | -K | -B | -N | -R |\n" + line +
                         "7 | -P | -P | -P | -P | -P | -P | -P | -P |\n" + line;
  for (int r = 6; r >= 3; r--) expected += std::to_string(r) + " |    |    |    |    |    |    |    |    |\n" + line;
  expected += std::string("2 | +P | +P | +P | +P | +P | +P | +P | +P |\n") + line +
              "1 | +R | +N | +B | +Q | +K | +B | +N | +R |\n" + line +
              "     a    b    c    d    e    f    g    h \n\n"
              "white to move\n"
              "GamePly = 1 , HashAge = 7 , Fifty = 0\n"
              "EpTarget = -- , CastleRights= KQkq\n"
              "White king sq = e1, R_rook sq = h1, L_rook sq = a1\n"
              "Black king sq = e8, R_rook sq = h8, L_rook sq = a8\n\n\n";
  EXPECT_EQ(out, expected);
}

TEST(TextBoard, HtmlPage) {
  Position pos = position_from("4k3/8/8/8/8/8/8/3QK3 b - -");
  TableAge = 7;
  std::string path = testing::TempDir() + "veltrix_board.html";
  write_html_board(pos, path.c_str());
  std::ifstream in(path);
  std::stringstream page;
  page << in.rdbuf();
  std::string html = page.str();
  EXPECT_EQ(html.rfind("<html>\n<meta http-equiv=\"refresh\" content=\"1\" />\n<body>\n", 0), 0u);
  EXPECT_NE(html.find("<tr><td>8</td>\n<td><img src=\"wsq.jpg\" width=\"50\" height=\"50\" ></td>\n"),
            std::string::npos);
  EXPECT_NE(html.find("<td><img src=\"wwq.jpg\" width=\"50\" height=\"50\"  ></td>\n"), std::string::npos);
  EXPECT_NE(html.find("<td><img src=\"wbk.jpg\" width=\"50\" height=\"50\" ></td>\n"), std::string::npos);
  EXPECT_NE(html.find("<p>black to move</p><p>GameAge = 7</p><p>GamePly = 1</p><p>Fifty = 0</p>"
                      "<p>EpTarget = -</p><p>Castle Rights:</p><p>----</p>\n"),
            std::string::npos);
}

}  // namespace
