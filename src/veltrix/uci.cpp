#include "veltrix/uci.h"

#include <cstdio>
#include <string>

#include "board/movetext.h"
#include "protocol/uci_session.h"
#include "veltrix/console.h"
#include "veltrix/engine_options.h"
#include "veltrix/hash_table.h"
#include "veltrix/identity.h"
#include "veltrix/network_choice.h"
#include "veltrix/search.h"
#include "veltrix/strength.h"
#include "veltrix/threads.h"

namespace veltrix {
namespace {
// The clock of a search that only a depth or "stop" ends.
constexpr int NoTimeLimit = 36000000;
// The Threads maximum the identification shows; the machine sets the real one.
constexpr int ShownMaxThreads = 64;

void set_hash(int mb) {
  if (TT.resize(mb) == ResizeResult::Failed)
    printf("info string error: could not allocate %d MB for the hash table, keeping %d MB\n", mb, TT.megabytes);
}

void set_network_evaluation(bool on) {
  Engine.nnueEval = on;
  if (on) load_requested_network();
  // The table keeps static evaluations: those of the other evaluation must not
  // mix with the one now in use.
  TT.clear();
}

void set_network_file(const std::string& name) {
  if (!set_nnue_file(name.c_str()))
    printf("info string error: NNUE_File name longer than %d characters, keeping %s\n", NnueFileCapacity - 1,
           Engine.nnueFile);
}

OptionList declare_options() {
  OptionList options = {
      string_option(
          "UCI_EngineAbout",
          [] { return std::string(EngineName) + " " + EngineDate + " " + EnginePlatform + ", by " + EngineAuthor; },
          nullptr),
      spin_option(
          "Hash", 1, VeltrixTableLayout.maxMegabytes, [] { return TT.megabytes; }, set_hash),
      button_option("ClearHash", [] { TT.clear(); }),
      check_option(
          "Ponder", [] { return Engine.ponderOption != 0; }, [](bool on) { Engine.ponderOption = on; }),
      spin_option("Threads", 1, ShownMaxThreads, thread_count, set_thread_count),
      check_option(
          "UCI_Chess960", [] { return BoardConfig.chess960; }, [](bool on) { BoardConfig.chess960 = on; }),
      check_option(
          "Castling_OO", [] { return BoardConfig.castlingOO; }, [](bool on) { BoardConfig.castlingOO = on; }),
      check_option(
          "NNUE_Eval", [] { return Engine.nnueEval != 0; }, set_network_evaluation),
      string_option(
          "NNUE_File", [] { return std::string(Engine.nnueFile); }, set_network_file),
      move_overhead_option(),
  };
  add_syzygy_options(options);
  options.push_back(spin_option(
      "MultiPV", 1, MaxRootLines, [] { return Engine.multiPV; }, [](int lines) { Engine.multiPV = lines; }));
  options.push_back(check_option(
      "UCI_ShowWDL", [] { return Engine.showWdl; }, [](bool on) { Engine.showWdl = on; }));
  options.push_back(check_option(
      "UCI_LimitStrength", [] { return Engine.limitStrength != 0; }, [](bool on) { Engine.limitStrength = on; }));
  options.push_back(spin_option(
      "UCI_Elo", MinPlayElo, MaxPlayElo, [] { return Engine.playElo; }, [](int elo) { Engine.playElo = elo; }));
  return options;
}

const OptionList& veltrix_options() {
  static const OptionList options = declare_options();
  return options;
}

bool fen_position(const char* fen) { return read_fen(GamePosition, fen, Dialect::Veltrix); }

void illegal_move(const std::string& token) { printf("info string illegal move: %s\n", token.c_str()); }

// The switches stay: a Chess960 interface announces the variant once, before its games.
void new_game() {
  read_fen(GamePosition, StartFen, Dialect::Veltrix);
  TT.clear();
}

void set_clocks(int ms, int movesToGo) {
  ClockRecord& c = Clock;
  c.wtime = c.btime = ms;
  c.wMovesToGo = c.bMovesToGo = movesToGo;
}

// Each "go" stands alone: what it does not name takes its start value, and a "go"
// that names no limit at all searches until "stop".
void go(const GoCommand& go) {
  ClockRecord& c = Clock;
  c = ClockRecord{};
  c.clockRuns = go.wtime || go.btime || go.moveTime;
  if (!c.clockRuns) set_clocks(NoTimeLimit, go.infinite ? 0 : 1);
  Engine.depthLimit = MaxDepthLimit;
  if (go.depth || go.mate) {
    const int depth = go.depth ? *go.depth : 2 * *go.mate - 1;
    Engine.depthLimit = depth < 1 ? 1 : depth > MaxDepthLimit ? MaxDepthLimit : depth;
  }
  if (go.moveTime) {
    c.movetime = *go.moveTime;
    set_clocks(*go.moveTime, 1);
  }
  if (go.wtime) c.wtime = *go.wtime;
  if (go.btime) c.btime = *go.btime;
  if (go.winc) c.winc = *go.winc;
  if (go.binc) c.binc = *go.binc;
  if (go.movesToGo) c.wMovesToGo = c.bMovesToGo = *go.movesToGo;
  Engine.pondering = go.infinite || !go.has_limit() || (go.ponder && Engine.ponderOption);
  set_search_limits(go, GamePosition, Dialect::Veltrix);
  go_search(GamePosition);
}

void eval() { print_evaluation(GamePosition); }

const UciEngine& veltrix_engine() {
  static const std::string idName = std::string(EngineName) + " " + EngineDate + " " + EnginePlatform;
  static const UciEngine engine{idName.c_str(),
                                EngineAuthor,
                                &veltrix_options(),
                                &GamePosition,
                                Dialect::Veltrix,
                                set_up_start_position,
                                fen_position,
                                illegal_move,
                                new_game,
                                allocate_table,
                                go,
                                eval,
                                nullptr};
  return engine;
}
}  // namespace

bool uci_command(const std::string& line) { return ::uci_command(veltrix_engine(), line); }

void uci_loop() {
  Engine.uciMode = 1;
  ::uci_loop(veltrix_engine(), quit_veltrix);
}
}  // namespace veltrix
