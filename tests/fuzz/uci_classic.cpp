// A UCI session of veltrix-classic fed any lines: one input is one session from a
// fresh start. Searches are capped at depth 2, perft at depth 2, caches at 2 MB and
// the search to one thread; everything else reaches the program as it was given.
// After every line the game position must be consistent, and every search must
// answer once with a legal move.
#include "search/limits.h"
#include "session_support.h"
#include "support/classic_config.h"
#include "uci/console.h"
#include "uci/uci.h"

using namespace classic;

namespace {

constexpr int DepthCap = 2;
constexpr size_t MaxUciLine = 8191;
constexpr long CacheCapMb = 2;

CapturedOutput Output;

std::string tame(const std::string& line) {
  std::vector<std::string> tokens = split_tokens(line);
  if (tokens.empty()) return line;
  if (tokens[0] == "go") return short_go(tokens, DepthCap);
  if (tokens[0] == "perft")
    return "perft " + std::to_string(std::min(atoi(tokens.size() > 1 ? tokens[1].c_str() : ""), DepthCap));
  if (tokens[0] != "setoption") return line;
  for (size_t i = 1; i < tokens.size(); i++) {
    const std::string& t = tokens[i];
    if (t == "Hash" || t == "EvalHash" || t == "PawnHash" || t == "MaterialHash")
      cap_option_value(tokens, i, CacheCapMb);
    if (t == "Threads" && i + 2 < tokens.size()) tokens[i + 2] = "1";
  }
  return join_tokens(tokens);
}

// The state a program has right after "uci", with small caches, emptied.
void fresh_session() {
  reset_classic_config();
  FrontEnd.uciMode = true;
  BoardConfig = BoardSettings{};
  srand(1);
  uci_command("setoption name Hash value 1");
  uci_command("setoption name EvalHash value 1");
  uci_command("setoption name PawnHash value 1");
  uci_command("setoption name MaterialHash value 1");
  uci_command("ucinewgame");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  empty_stdin();
  Output.start();
  start_program();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fresh_session();
  FuzzInput in{data, size};
  run_session(in, Output, Dialect::Classic, MaxUciLine, tame, uci_command, GamePosition);
  return 0;
}
