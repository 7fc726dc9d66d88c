// veltrix's console and UCI front end, end to end: lines written to the running
// program, its output compared exactly.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "veltrix_engine.h"

namespace {

const std::string Help = "\nuci  .......... switch to uci protocol\nquit .......... exit this program\n";

TEST(VeltrixConsole, HelpEvalAndQuit) {
  VeltrixEngine v;
  v.engine.send("?");
  v.engine.send("go");  // no search in console mode
  v.engine.send("eval");
  v.engine.send("quit");
  EXPECT_EQ(v.engine.read_to_end(), Help + NetworkStartEval + "info string exit...");
  EXPECT_EQ(v.engine.wait_exit(), 0);
}

TEST(VeltrixUci, IdentifiesItselfAndQuits) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("uci");
  v.engine.send("stop");
  v.engine.send("ponderhit");
  v.engine.send("nonsense words");
  v.engine.send("quit");
  EXPECT_EQ(v.engine.read_to_end(), "info string exit...");
  EXPECT_EQ(v.engine.wait_exit(), 0);
}

TEST(VeltrixUci, TheEndOfInputActsAsQuit) {
  VeltrixEngine v;
  v.uci();
  v.engine.close_input();
  EXPECT_EQ(v.engine.read_to_end(), "info string exit...");
  EXPECT_EQ(v.engine.wait_exit(), 0);
}

TEST(VeltrixUci, OptionsPrintOnlyWhatTheyLoad) {
  VeltrixEngine v;
  v.uci();
  v.engine.send("setoption name Hash value 0");
  v.engine.send("setoption name Hash value 1");
  v.engine.send("setoption name Threads value 64");
  v.engine.send("setoption name ClearHash");
  v.engine.send("setoption name Ponder value true");
  v.engine.send("setoption name NNUE_File value other.nnue");
  EXPECT_EQ(v.sync(), "");
  v.engine.send("eval");
  EXPECT_EQ(v.sync(), NetworkStartEval);
  v.engine.send("setoption name NNUE_Eval value true");
  EXPECT_EQ(v.sync(), "Loading NNUE : other.nnue\nNNUE file not found!\n");
  // A name that does not fit is refused, never cut into another name.
  v.engine.send("setoption name NNUE_File value " + std::string(300, 'x'));
  EXPECT_EQ(v.sync(), "info string error: NNUE_File name longer than 255 characters, keeping other.nnue\n");
  v.engine.send("setoption name NNUE_Eval value false");
  EXPECT_EQ(v.sync(), "");
}

TEST(VeltrixUci, TheNetworkFileOfTheOptionsEvaluates) {
  VeltrixEngine v;
  v.uci();
  // A path with spaces, and option names in any case.
  const std::string net = v.engine.work_dir() + "/my nets/the network.nnue";
  std::filesystem::create_directory(v.engine.work_dir() + "/my nets");
  std::filesystem::copy_file(VELTRIX_NET_FILE, net);
  v.engine.send("setoption name nnue_file value " + net);
  v.engine.send("setoption name NNUE_EVAL value true");
  EXPECT_EQ(v.sync(), "Loading NNUE : " + net + "\nNNUE loaded !\n");
  v.engine.send("eval");
  EXPECT_EQ(v.sync(), NetworkStartEval);
  // Switched off, the loaded network stays unused until switched on again.
  v.engine.send("setoption name NNUE_Eval value false");
  v.engine.send("eval");
  EXPECT_EQ(v.sync(), FallbackStartEval);
}

TEST(VeltrixUci, PositionsAndTheIllegalMoveThatEndsTheProgram) {
  VeltrixEngine v;
  v.uci();
  v.use_fallback();
  v.engine.send("position startpos moves e2e4 e7e5");
  v.engine.send("eval");
  v.engine.send("position fen 4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  v.engine.send("eval");
  // Bare kings: the endgame tempo alone, for black to move.
  EXPECT_EQ(v.sync(), "eval: 5\neval: 10\n");
  v.engine.send("position startpos moves e2e4 e7e5 e1e3");
  EXPECT_EQ(v.engine.read_to_end(), "info string illegal move: e1e3\ninfo string exit...");
  EXPECT_EQ(v.engine.wait_exit(), 0);
}

TEST(VeltrixUci, AHashTableThatCannotBeHadKeepsTheOldOne) {
  if (!AddressLimitsWork) GTEST_SKIP() << "address-space limits do not work under sanitizers";
  VeltrixEngine v({}, size_t(1) << 30);
  v.uci();
  // Sizes set before "isready" are only noted: 768 MB is taken once, where a table
  // of the default size beside it would not fit in the 1 GB the process may use.
  v.engine.send("setoption name Hash value 4096");
  v.engine.send("setoption name Hash value 768");
  EXPECT_EQ(v.sync(), "");
  v.engine.send("setoption name Clear Hash");  // no such option: the table keeps its 768 MB
  v.engine.send("setoption name Hash value 4096");
  EXPECT_EQ(v.sync(), "info string error: could not allocate 4096 MB for the hash table, keeping 768 MB\n");
  v.engine.send("go depth 4");
  std::string out = v.engine.read_until("\nbestmove ");
  out += v.engine.read_until("\n");
  std::vector<std::string> lines = lines_of(out);
  ASSERT_FALSE(lines.empty());
  checked_best_move(lines.back(), StartFen);
}

// From an empty folder the bench searches with the built-in network.
TEST(VeltrixBench, PrintsTheSameSignatureWithFullRefreshAndAnotherWithTheFallback) {
  auto run = [](const std::vector<std::string>& args, const std::string& evaluation) {
    EngineProcess bench(VELTRIX_BIN, args);
    std::string out = bench.read_to_end(120000);
    EXPECT_EQ(bench.wait_exit(), 0);
    size_t at = out.find("Nodes searched  : ");
    EXPECT_NE(at, std::string::npos) << out;
    EXPECT_NE(out.find("Nodes/second    : "), std::string::npos) << out;
    EXPECT_NE(out.find("\nbench: " + evaluation + "\n"), std::string::npos) << out;
    return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
  };
  std::string incremental = run({"bench", "5"}, "network evaluation (nn-62ef826d1a6d.nnue), incremental accumulators");
  EXPECT_EQ(run({"bench", "5", "full"}, "network evaluation (nn-62ef826d1a6d.nnue), full-refresh accumulators"),
            incremental);
  EXPECT_NE(run({"bench", "5", "fallback"}, "fallback evaluation"), incremental);
  // The default bench's total is the search's signature: a change to one thread's
  // search shows here.
  EXPECT_EQ(run({"bench"}, "network evaluation (nn-62ef826d1a6d.nnue), incremental accumulators"),
            "Nodes searched  : 1595918");
}

}  // namespace
