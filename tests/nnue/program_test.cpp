// The veltrix program's start-up, with and without its network file, and its
// console commands.
#include <filesystem>

#include <gtest/gtest.h>

#include "network_files.h"
#include "support/engine_process.h"

namespace {

const std::string Banner = "\nVeltrix v9.0 Dec 15 2020 x64\nby Brenmoor \n\n";
const std::string Help = "\nuci  .......... switch to uci protocol\nquit .......... exit this program\n";

TEST(VeltrixProgram, StartsWithoutANetworkAndAnswersHelpAndQuit) {
  EngineProcess engine(VELTRIX_BIN);
  engine.send("help");
  engine.send("nonsense");
  engine.send("?");
  engine.send("quit");
  engine.send("help");
  EXPECT_EQ(engine.read_to_end(), Banner + "Loading NNUE : nn-62ef826d1a6d.nnue\nNNUE file not found!\n" + Help + Help +
                                      "info string exit...");
  EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(VeltrixProgram, LoadsTheDefaultNetworkFromItsDirectoryAndQuitsAtTheEndOfInput) {
  if (!real_network_present()) GTEST_SKIP() << "network file " VELTRIX_NET_FILE " is absent";
  std::string dir = make_temp_dir();
  std::filesystem::create_symlink(VELTRIX_NET_FILE, dir + "/nn-62ef826d1a6d.nnue");
  {
    EngineProcess engine(VELTRIX_BIN, {}, dir);
    engine.close_input();
    EXPECT_EQ(engine.read_to_end(), Banner + "Loading NNUE : nn-62ef826d1a6d.nnue\nNNUE loaded !\ninfo string exit...");
    EXPECT_EQ(engine.wait_exit(), 0);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
