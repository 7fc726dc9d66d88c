// The book commands of the console end to end: a book built from PGN games, added
// to and scored, then played from under UCI.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "support/engine_process.h"

namespace {

const char* const RuyLopez =
    "[Event \"?\"]\n[Result \"1-0\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3\n"
    "O-O 9. h3 Nb8 10. d4 Nbd7 11. c4 c6 12. cxb5 axb5 13. Nc3 Bb7 14. Bg5 b4 15.\n"
    "Nb1 h6 16. Bh4 c5 1-0\n\n";
const char* const QueensGambit = "[Event \"?\"]\n\n1. d4 d5 2. c4 e6 {declined} 1/2-1/2\n\n";

std::string times(int n, const std::string& text) {
  std::string all;
  for (int i = 0; i < n; i++) all += text;
  return all;
}

void write_text(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

uintmax_t book_records(const EngineProcess& engine) {
  return std::filesystem::file_size(engine.work_dir() + "/veltrix_book.bin") / 24;
}

std::string until_bestmove(EngineProcess& engine) {
  std::string out = engine.read_until("bestmove ", 30000);
  return out + engine.read_until("\n", 5000);
}

TEST(BookConsole, MakebookThenPlayFromTheBook) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN);
  write_text(engine.work_dir() + "/games.pgn", times(4, RuyLopez) + times(3, QueensGambit));
  engine.send("makebook");
  engine.send("games.pgn");
  std::string out = engine.read_until("make book finished!\n", 30000);
  EXPECT_NE(out.find("PGN file name: \n\ntotal games: 7\nmove errors: 0\n\n\nsorting... cache entry size = 33\n"
                     "\ntotal moves saved = 29\n\nmake book finished!\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(book_records(engine), 30u);

  engine.send("uci");
  engine.read_until("uciok\n");
  engine.send("setoption name DebugInfoString value true");
  engine.send("position startpos moves e2e4 e7e5");
  engine.send("go wtime 60000 btime 60000");
  out = until_bestmove(engine);
  EXPECT_NE(out.find("info depth 1 seldepth 0 multipv 1 score cp 0 nodes 0 "), std::string::npos) << out;
  EXPECT_NE(out.find("info string book move g1f3 , best score = 0\nbestmove g1f3"), std::string::npos) << out;

  // Set up from a FEN, even the start position's, the game stays out of the book.
  engine.send("position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1 moves e7e5");
  engine.send("go wtime 2000 btime 2000");
  out = until_bestmove(engine);
  EXPECT_EQ(out.find("info string book"), std::string::npos) << out;
  engine.send("quit");
  EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(BookConsole, AddbookAndSbookRewriteTheBook) {
  EngineProcess engine(VELTRIX_CLASSIC_BIN);
  write_text(engine.work_dir() + "/ruy.pgn", times(4, RuyLopez));
  write_text(engine.work_dir() + "/qgd.pgn", times(4, QueensGambit));
  engine.send("makebook");
  engine.send("ruy.pgn");
  engine.read_until("make book finished!\n", 30000);
  engine.send("addbook");
  engine.send("qgd.pgn");
  std::string out = engine.read_until("make book finished!\n", 30000);
  EXPECT_NE(out.find("\ntotal moves in cache = 29\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\ntotal moves saved = 33\n"), std::string::npos) << out;
  EXPECT_EQ(book_records(engine), 34u);

  engine.send("sbook");
  out = engine.read_until("book score finished.. \n", 120000);
  EXPECT_NE(out.find("\n\nnodes = "), std::string::npos) << out;
  EXPECT_NE(out.find("\ntotal moves saved = 33\n"), std::string::npos) << out;
  EXPECT_EQ(book_records(engine), 34u);
  engine.send("quit");
  EXPECT_EQ(engine.wait_exit(), 0);
}

}  // namespace
