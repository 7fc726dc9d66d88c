// The veltrix program's start-up with its network file beside it and from an empty
// folder (its built-in network), the network files its options name, and its
// console commands.
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "network_files.h"
#include "nnue/board_link.h"
#include "support/board_setup.h"
#include "support/engine_process.h"

namespace {

const std::string Banner = "\nVeltrix v9.0 Dec 15 2020 x64\nby Brenmoor \n\n";
const std::string Help = "\nuci  .......... switch to uci protocol\nquit .......... exit this program\n";
const std::string NotFound = "Loading NNUE : nn-62ef826d1a6d.nnue\nNNUE file not found!\n";
// Without a file of the default name the program says only that it uses its own copy.
const std::string BuiltIn = "Using the built-in network nn-62ef826d1a6d.nnue\n";

// Both sides to move, a bare ending and a middlegame; the fallback evaluation's
// values are known for the first three.
const std::vector<std::string> Fens = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -",
    "8/8/8/4k3/8/8/8/4K3 w - -",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - -",
};

// What "eval" prints for each of the Fens with the project's network, worked out here.
std::vector<std::string> network_evals() {
  EXPECT_TRUE(load_network(VELTRIX_NET_FILE));
  std::vector<std::string> out;
  for (const std::string& fen : Fens)
    out.push_back("eval: " + std::to_string(evaluate_network(position_from(fen, Dialect::Veltrix))) + "\n");
  return out;
}

// The program in UCI mode, with the output of each command read up to an "isready".
struct UciSession {
  EngineProcess engine{VELTRIX_BIN};

  UciSession() {
    engine.send("uci");
    EXPECT_EQ(engine.read_until(BuiltIn), Banner + BuiltIn);
    engine.read_until("uciok\n");
  }
  std::string answer(const std::string& line) {
    engine.send(line);
    engine.send("isready");
    std::string out = engine.read_until("readyok\n");
    return out.substr(0, out.size() - 8);
  }
  std::string eval(const std::string& fen) {
    engine.send("position fen " + fen);
    return answer("eval");
  }
};

TEST(VeltrixProgram, StartsWithTheBuiltInNetworkAndAnswersHelpAndQuit) {
  EngineProcess engine(VELTRIX_BIN);
  engine.send("help");
  engine.send("nonsense");
  engine.send("?");
  engine.send("quit");
  engine.send("help");
  EXPECT_EQ(engine.read_to_end(), Banner + BuiltIn + Help + Help + "info string exit...");
  EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(VeltrixProgram, LoadsTheDefaultNetworkFromItsDirectoryAndQuitsAtTheEndOfInput) {
  std::string dir = make_temp_dir();
  std::filesystem::create_symlink(VELTRIX_NET_FILE, dir + "/nn-62ef826d1a6d.nnue");
  {
    EngineProcess engine(VELTRIX_BIN, {}, dir);
    engine.close_input();
    EXPECT_EQ(engine.read_to_end(), Banner + "Loading NNUE : nn-62ef826d1a6d.nnue\nNNUE loaded !\ninfo string exit...");
    EXPECT_EQ(engine.wait_exit(), 0);
  }
  // A file of the default name that the loader refuses is reported as such.
  std::filesystem::remove(dir + "/nn-62ef826d1a6d.nnue");
  NetworkImage().write(dir + "/nn-62ef826d1a6d.nnue");
  std::filesystem::resize_file(dir + "/nn-62ef826d1a6d.nnue", NnueFileSize + 1);
  {
    EngineProcess engine(VELTRIX_BIN, {}, dir);
    engine.close_input();
    EXPECT_EQ(engine.read_to_end(), Banner + NotFound + BuiltIn + "info string exit...");
  }
  std::filesystem::remove_all(dir);
}

TEST(VeltrixProgram, FromAnEmptyFolderEvaluatesWithTheBuiltInNetworkUntilSwitchedOff) {
  const std::vector<std::string> expected = network_evals();
  UciSession s;
  for (size_t i = 0; i < Fens.size(); i++) EXPECT_EQ(s.eval(Fens[i]), expected[i]) << Fens[i];
  EXPECT_EQ(s.answer("setoption name NNUE_Eval value false"), "");
  const char* fallback[] = {"eval: 5\n", "eval: 5\n", "eval: -26\n"};
  for (size_t i = 0; i < 3; i++) {
    EXPECT_EQ(s.eval(Fens[i]), fallback[i]) << Fens[i];
    EXPECT_NE(expected[i], fallback[i]) << "the network and the fallback must be told apart";
  }
}

TEST(VeltrixProgram, AFileThatFailsKeepsTheNetworkInUseAndAnotherFileLoads) {
  const std::vector<std::string> expected = network_evals();
  UciSession s;
  const std::string dir = s.engine.work_dir();
  std::filesystem::copy_file(VELTRIX_NET_FILE, dir + "/damaged.nnue");
  std::filesystem::resize_file(dir + "/damaged.nnue", NnueFileSize - 1);
  NetworkImage().write(dir + "/zero.nnue");  // every weight zero: every score 0

  EXPECT_EQ(s.answer("setoption name NNUE_File value damaged.nnue"), "");
  EXPECT_EQ(s.answer("setoption name NNUE_Eval value true"), "Loading NNUE : damaged.nnue\nNNUE file not found!\n");
  EXPECT_EQ(s.eval(Fens[3]), expected[3]) << "the built-in network stays in use";

  EXPECT_EQ(s.answer("setoption name NNUE_File value zero.nnue"), "");
  EXPECT_EQ(s.answer("setoption name NNUE_Eval value true"), "Loading NNUE : zero.nnue\nNNUE loaded !\n");
  EXPECT_EQ(s.eval(Fens[3]), "eval: 0\n");

  // Switched off and on again with a damaged file: the network loaded last comes back.
  EXPECT_EQ(s.answer("setoption name NNUE_Eval value false"), "");
  EXPECT_EQ(s.answer("setoption name NNUE_File value damaged.nnue"), "");
  EXPECT_EQ(s.answer("setoption name NNUE_Eval value true"), "Loading NNUE : damaged.nnue\nNNUE file not found!\n");
  EXPECT_EQ(s.eval(Fens[3]), "eval: 0\n");

  // The default name, with no such file at hand, asks for the network the program carries.
  EXPECT_EQ(s.answer("setoption name NNUE_File value nn-62ef826d1a6d.nnue"), "");
  EXPECT_EQ(s.answer("setoption name NNUE_Eval value true"), BuiltIn);
  EXPECT_EQ(s.eval(Fens[3]), expected[3]);
}

}  // namespace
