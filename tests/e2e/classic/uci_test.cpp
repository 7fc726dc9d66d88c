// The UCI front end of veltrix-classic, end to end: lines written to the running
// program, its output compared exactly.
#include <string>

#include <gtest/gtest.h>

#include "support/engine_process.h"
#include "support/syzygy_tables.h"

namespace {

const char* const Banner = "Veltrix 8.0 Jan. 2017 x64\nby Brenmoor \n";

const std::string Identification =
    "id name Veltrix 8.0 Jan. 2017 x64\n"
    "id author Brenmoor \n"
    "option name UCI_EngineAbout type string default Veltrix 8.0 Jan. 2017 x64, by Brenmoor\n"
    "option name Hash type spin default 256 min 1 max 8192 \n"
    "option name EvalHash type spin default 64 min 1 max 64 \n"
    "option name PawnHash type spin default 32 min 1 max 32 \n"
    "option name MaterialHash type spin default 16 min 1 max 16 \n"
    "option name ClearHash type button \n"
    "option name Ponder type check default true\n"
    "option name MultiPV type spin default 1 min 1 max 255 \n"
    "option name UCI_Chess960 type check default false\n"
    "option name Castling_OO type check default false\n"
    "option name Threads type spin default 1 min 1 max 64 \n"
    "option name UseNalimov type check default true\n"
    "option name NalimovPath type string default E:\\schach\\EGTB\n"
    "option name NalimovCache type spin default 8 min 1 max 32 \n"
    "option name OwnBook type check default true\n"
    "option name BookFileName type string default veltrix_book.bin\n"
    "option name BookStyle type combo default Variety var Best var Variety var Random\n"
    "option name BookMovesScore type spin default 60 min 0 max 80 \n"
    "option name ListBookMoves type check default false\n"
    "option name BookLearn type check default true\n"
    "option name DebugInfoString type check default false\n"
    "option name UCI_ShowCurrLine type check default false\n"
    "option name UsePlayLevel type check default false\n"
    "option name PlayLevel type spin default 20 min 1 max 20 \n"
    "option name SSE_Popcount type check default true\n"
    "option name SSE_Prefetch type check default true\n"
    "option name Move Overhead type spin default 10 min 0 max 5000 \n" +
    SyzygyOptionLines + "option name UCI_ShowWDL type check default false\n" + "uciok\n";

// What the first "isready" sets up: the tablebases of the default path, which this
// machine does not have.
const char* const TablebaseSetUp =
    "info string egtb init...\ninfo string error load egtbs: Could not find table bases\n";

// A started engine that has already answered "uci" and a first "isready".
struct UciEngine {
  EngineProcess engine{VELTRIX_CLASSIC_BIN};
  UciEngine() {
    engine.send("uci");
    std::string start = engine.read_until("uciok\n");
    EXPECT_EQ(start, std::string(Banner) + Identification);
    EXPECT_EQ(sync(), TablebaseSetUp);
  }
  // Everything printed until the "readyok" that answers an "isready" sent now.
  std::string sync() {
    engine.send("isready");
    std::string out = engine.read_until("readyok\n");
    EXPECT_TRUE(out.size() >= 8 && out.compare(out.size() - 8, 8, "readyok\n") == 0) << out;
    return out.substr(0, out.size() - 8);
  }
};

TEST(Uci, IdentificationAndIsready) {
  UciEngine u;
  EXPECT_EQ(u.sync(), "");
  u.engine.send("uci");  // a repeated "uci" prints nothing
  EXPECT_EQ(u.sync(), "");
}

TEST(Uci, OptionEchoesOnlyWithDebugInfo) {
  UciEngine u;
  u.engine.send("setoption name MultiPV value 3");
  u.engine.send("setoption name Hash value 2");
  u.engine.send("setoption name UsePlayLevel value true");
  EXPECT_EQ(u.sync(), "");
  u.engine.send("setoption name DebugInfoString value true");
  EXPECT_EQ(u.sync(), "info string DebugInfoString = 1\n");
  u.engine.send("setoption name MultiPV value 0");
  u.engine.send("setoption name MultiPV value 300");
  u.engine.send("setoption name PlayLevel value -4");
  u.engine.send("setoption name BookMovesScore value -5");
  u.engine.send("setoption name BookMovesScore value 99");
  u.engine.send("setoption name NalimovCache value 100");
  u.engine.send("setoption name NalimovCache value 32");
  u.engine.send("setoption name BookStyle value random");
  u.engine.send("setoption name BookStyle value Best");
  u.engine.send("setoption name Hash value 2");
  u.engine.send("setoption name Hash value 0");
  u.engine.send("setoption name EvalHash value 65");
  u.engine.send("setoption name UsePlayLevel value yes");
  u.engine.send("setoption name UCI_ShowCurrLine value true");
  u.engine.send("setoption name NalimovPath value /no where");
  u.engine.send("setoption name ClearHash");
  u.engine.send("setoption name Nonsense value 1");
  u.engine.send("setoption name Clear Hash");  // no such option: the table stays as it is
  u.engine.send("setoption name ponder value false");
  EXPECT_EQ(u.sync(),
            "info string MultiPV = 1\n"
            "info string MultiPV = 255\n"
            "info string PlayLevel = 1\n"
            "info string BookMovesScore = 0\n"
            "info string BookMovesScore = 80\n"
            "info string NalimovCache size = 32\n"
            "info string BookStyle = 2\n"
            "info string BookStyle = 1\n"
            "info string Hash size = 1\n"
            "info string UsePlayLevel = false\n"
            "info string UCI_ShowCurrentLine = 1\n"
            "info string NalimovPath = /no where\n"
            "info string ClearHash\n"
            "info string Ponder = 0\n"
            "info string egtb init...\n"
            "info string error load egtbs: Could not find table bases\n");
  u.engine.send("setoption name DebugInfoString value false");
  u.engine.send("setoption name MultiPV value 2");
  EXPECT_EQ(u.sync(), "");
  // The new values are what the option list shows now.
  u.engine.send("uci");
  EXPECT_EQ(u.sync(), "");
}

TEST(Uci, ThreadsNeverExceedTheProcessors) {
  UciEngine u;
  u.engine.send("setoption name DebugInfoString value true");
  u.engine.send("setoption name Threads value 1000");
  std::string out = u.sync();
  EXPECT_EQ(out.rfind("info string DebugInfoString = 1\n", 0), 0u) << out;
  int threads = out.find("Threads = ") == std::string::npos ? 1 : std::stoi(out.substr(out.find("Threads = ") + 10));
  EXPECT_GE(threads, 1);
  EXPECT_LE(threads, 64);
}

TEST(Uci, ThreeFieldFenPassesOverTheWordMoves) {
  UciEngine u;
  u.engine.send("position fen 8/8/8/8/8/8/8/K6k w - moves a1a2");
  u.engine.send("perft 1");
  std::string out = u.engine.read_until("Nodes searched: 3\n");
  EXPECT_EQ(out.rfind("a1b1: 1\na1a2: 1\na1b2: 1\n\nNodes searched: 3\n", 0), 0u) << out;
}

TEST(Uci, PositionWithMoves) {
  UciEngine u;
  u.engine.send("position startpos moves e2e4 e7e5 g1f3");
  u.engine.send("perft 1");
  std::string out = u.engine.read_until("Nodes searched: ");
  EXPECT_NE(out.find("b8c6: 1\n"), std::string::npos);
  EXPECT_EQ(u.engine.read_until("\n"), "29\n");
}

// An interface sets Chess960 once for its games; new games and start positions keep it.
TEST(Uci, Chess960StaysAsTheInterfaceSetIt) {
  UciEngine u;
  u.engine.send("setoption name UCI_Chess960 value true");
  u.engine.send("ucinewgame");
  // Castling rights by rook files, castling written as the king taking its rook.
  u.engine.send("position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w HAha - 4 4");
  u.engine.send("perft 1");
  std::string out = u.engine.read_until("Nodes searched: ");
  EXPECT_NE(out.find("e1h1: 1\n"), std::string::npos) << out;
  EXPECT_EQ(u.engine.read_until("\n"), "33\n");
  // The standard start position is one of the 960, with the same castling.
  u.engine.send("position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6");
  u.engine.send("perft 1");
  out = u.engine.read_until("Nodes searched: ");
  EXPECT_NE(out.find("e1h1: 1\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("e1g1: 1\n"), std::string::npos) << out;
  EXPECT_EQ(u.engine.read_until("\n"), "33\n");
}

TEST(Uci, RejectedFenKeepsThePositionAndIgnoresItsMoves) {
  UciEngine u;
  u.engine.send("setoption name DebugInfoString value true");
  u.engine.send("position startpos moves e2e4");
  u.engine.send("position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1 moves e2e4");
  EXPECT_EQ(u.sync(),
            "info string DebugInfoString = 1\ninfo string FEN error on kings!\n"
            "info string error: FEN refused, the position stays as it was\n");
  u.engine.send("perft 1");
  std::string out = u.engine.read_until("Nodes searched: ");
  EXPECT_EQ(u.engine.read_until("\n"), "20\n");  // black to move after 1.e4, as before
  EXPECT_NE(out.find("e7e5: 1\n"), std::string::npos) << out;
}

TEST(Uci, IllegalMoveEndsTheProgram) {
  UciEngine u;
  u.engine.send("setoption name DebugInfoString value true");
  u.engine.send("position startpos moves e2e4 e7e5 e1e3 g8f6");
  EXPECT_EQ(u.engine.read_to_end(),
            "info string DebugInfoString = 1\ninfo string illegal move: e1e3\ninfo string exit...");
  EXPECT_EQ(u.engine.wait_exit(), 0);
}

TEST(Uci, EndOfInputEndsTheProgram) {
  UciEngine u;
  u.engine.close_input();
  EXPECT_EQ(u.engine.read_to_end(), "");
  EXPECT_EQ(u.engine.wait_exit(), 0);
}

TEST(Uci, QuitEndsTheProgram) {
  UciEngine u;
  u.engine.send("quit");
  EXPECT_EQ(u.engine.read_to_end(), "");
  EXPECT_EQ(u.engine.wait_exit(), 0);
}

TEST(Uci, CacheThatCannotBeAllocatedKeepsThePreviousOne) {
  if (!AddressLimitsWork) GTEST_SKIP() << "address-space limits do not work under sanitizers";
  EngineProcess engine(VELTRIX_CLASSIC_BIN, {}, "", size_t(1400) << 20);
  engine.send("uci");
  engine.read_until("uciok\n");
  engine.send("setoption name DebugInfoString value true");
  // Noted at once, taken at "isready": the size that does not fit gives way to the default.
  engine.send("setoption name Hash value 4096");
  engine.send("isready");
  EXPECT_EQ(engine.read_until("readyok\n"),
            "info string DebugInfoString = 1\ninfo string Hash size = 4096\n"
            "info string error: could not allocate 4096 MB for the transposition table, keeping the previous size\n" +
                std::string(TablebaseSetUp) + "readyok\n");
  engine.send("setoption name Hash value 4096");
  engine.send("setoption name Hash value 16");
  engine.send("isready");
  EXPECT_EQ(engine.read_until("readyok\n"),
            "info string error: could not allocate 4096 MB for the transposition table, keeping the previous size\n"
            "info string Hash size = 16\nreadyok\n");
  engine.send("go depth 4");
  EXPECT_NE(engine.read_until("bestmove ").find("info depth 4 "), std::string::npos);
}

TEST(Uci, GarbageIsPassedOver) {
  UciEngine u;
  u.engine.send(std::string(20000, 'x'));
  u.engine.send("\x01\x02\xff\xfe go\tdepth");
  u.engine.send("setoption name");
  u.engine.send("setoption name Hash value");
  u.engine.send("position");
  u.engine.send("position fen");
  u.engine.send("position moves");
  u.engine.send("    ");
  u.engine.send("");
  u.engine.send("isready\r");
  EXPECT_EQ(u.engine.read_until("readyok\n"),
            "info string error: FEN refused, the position stays as it was\nreadyok\n");
  EXPECT_EQ(u.sync(), "");
}

}  // namespace
