// A UCI session of veltrix fed any lines, as uci_classic does for the other
// program: searches capped at depth 2, the table at 2 MB, one search thread.
// The program's start-up loads its built-in network once, so that searches evaluate
// with it until a session switches NNUE_Eval.
#include "nnue/nnue.h"
#include "session_support.h"
#include "veltrix/console.h"
#include "veltrix/engine_options.h"
#include "veltrix/hash_table.h"
#include "veltrix/uci.h"

using namespace veltrix;

namespace {

constexpr int DepthCap = 2;
constexpr size_t MaxUciLine = 8191;
constexpr long HashCapMb = 2;

CapturedOutput Output;
bool RealNetwork = false;

std::string tame(const std::string& line) {
  std::vector<std::string> tokens = split_tokens(line);
  if (tokens.empty()) return line;
  if (tokens[0] == "go") return short_go(tokens, DepthCap);
  if (tokens[0] != "setoption") return line;
  for (size_t i = 1; i < tokens.size(); i++) {
    if (tokens[i] == "Hash") cap_option_value(tokens, i, HashCapMb);
    if (tokens[i] == "Threads" && i + 2 < tokens.size()) tokens[i + 2] = "1";
  }
  return join_tokens(tokens);
}

// The state a program has right after "uci": default options, an empty 1 MB table,
// the start position, and the network as start-up left it.
void fresh_session() {
  Engine = EngineOptions{};
  Engine.uciMode = 1;
  Clock = ClockRecord{};
  BoardConfig = BoardSettings{};
  NnueLoaded = RealNetwork;
  srand(1);
  uci_command("setoption name Hash value 1");
  uci_command("ucinewgame");
  set_up_start_position();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  empty_stdin();
  Output.start();
  start_veltrix();
  RealNetwork = NnueLoaded;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fresh_session();
  FuzzInput in{data, size};
  run_session(in, Output, Dialect::Veltrix, MaxUciLine, tame, uci_command, GamePosition);
  return 0;
}
