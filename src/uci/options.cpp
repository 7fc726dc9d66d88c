#include <cstdio>

#include "board/movetext.h"
#include "board/settings.h"
#include "book/book.h"
#include "egtb/tablebase.h"
#include "eval/eval_cache.h"
#include "platform/platform.h"
#include "protocol/uci_session.h"
#include "search/hooks.h"
#include "search/threads.h"
#include "search/tt.h"
#include "uci/front_end.h"

namespace classic {
namespace {
const char* const BookStyles[] = {"Best", "Variety", "Random"};
constexpr int ShownMaxThreads = 64;

// Option echoes are diagnostics: printed only while DebugInfoString is on.
template <typename... Args>
void echo(const char* format, Args... args) {
  if (BoardConfig.debugInfo) printf(format, args...);
}

// A new cache size takes effect and is echoed, or, when the memory cannot be had,
// the old table stays in use and the user is told.
void report_resize(ResizeResult result, const char* name, int megabytes, const char* echoFormat) {
  if (result == ResizeResult::Resized) echo(echoFormat, megabytes);
  if (result == ResizeResult::Failed)
    printf("info string error: could not allocate %d MB for the %s, keeping the previous size\n", megabytes, name);
}

ResizeResult cache_resize_result(bool resized) {
  return resized ? ResizeResult::Resized : cache_resize_failed() ? ResizeResult::Failed : ResizeResult::Unchanged;
}

UciOption cache_option(const char* name, int maximum, int (*megabytes)(), bool (*resize)(int), const char* tableName,
                       const char* echoFormat) {
  return spin_option(name, 1, maximum, megabytes,
                     [=](int mb) { report_resize(cache_resize_result(resize(mb)), tableName, mb, echoFormat); });
}

// A switch whose echo shows the value as 0 or 1.
UciOption numbered_switch(const char* name, bool& field, const char* echoFormat) {
  return check_option(
      name, [&field] { return field; },
      [&field, echoFormat](bool on) {
        field = on;
        echo(echoFormat, int(on));
      });
}

// A switch whose echo shows the value as "true" or "false".
UciOption worded_switch(const char* name, bool& field) {
  return check_option(
      name, [&field] { return field; },
      [&field, name](bool on) {
        field = on;
        echo("info string %s = %s\n", name, bool_text(on));
      });
}

// A number kept as it is given (within its bounds), echoed with its value.
UciOption number_setting(const char* name, int min, int max, int& field, const char* echoFormat) {
  return spin_option(
      name, min, max, [&field] { return field; },
      [&field, echoFormat](int v) {
        field = v;
        echo(echoFormat, v);
      });
}

// A file or directory name; a change of a tablebase setting sets the tables up anew.
// Interfaces send their settings again before every game: the same path again is
// no reason to look for the tables (and report their absence) once more.
UciOption text_setting(const char* name, std::string& field, const char* echoFormat, bool* pending = nullptr) {
  return string_option(
      name, [&field] { return field; },
      [&field, echoFormat, pending](const std::string& v) {
        if (pending && v != field) *pending = true;
        field = v;
        echo(echoFormat, v.c_str());
      });
}

// Probing switched on again is the user's sign to look for the tables once more.
UciOption tablebase_switch() {
  return check_option(
      "UseNalimov", [] { return SearchConfig.useTablebases; },
      [](bool on) {
        if (on && !SearchConfig.useTablebases) TablebaseConfig.setupPending = true;
        SearchConfig.useTablebases = on;
        echo("info string UseNalimov = %d\n", int(on));
      });
}

void set_threads(int requested) {
  int maximum = processor_count() < ShownMaxThreads ? processor_count() : ShownMaxThreads;
  int count = requested > maximum ? maximum : requested;
  if (count == thread_count()) return;
  set_thread_count(count);
  echo("info string Threads = %d\n", count);
}

void set_tablebase_cache(int mb) {
  if (mb == TablebaseConfig.cacheMegabytes) return;
  TablebaseConfig.cacheMegabytes = mb;
  TablebaseConfig.setupPending = true;
  echo("info string NalimovCache size = %d\n", mb);
}

void set_book_style(const std::string& value) {
  BookConfig.style = value == "Best" ? 1 : value == "Random" ? 3 : 2;
  echo("info string BookStyle = %d\n", BookConfig.style);
}

void clear_hash() {
  clear_hash_tables();
  echo("%s", "info string ClearHash\n");
}

OptionList declare_options() {
  const char* about = "Veltrix 8.0 Jan. 2017 x64, by Brenmoor";
  OptionList options = {
      string_option(
          "UCI_EngineAbout", [about] { return std::string(about); }, nullptr),
      spin_option(
          "Hash", 1, ClassicTableLayout.maxMegabytes, [] { return TT.megabytes; },
          [](int mb) { report_resize(TT.resize(mb), "transposition table", mb, "info string Hash size = %d\n"); }),
      cache_option(
          "EvalHash", EvalHashMaxMb, [] { return eval_cache_size().megabytes; }, eval_cache_resize, "evaluation cache",
          "info string Eval Hash size = %d\n"),
      cache_option(
          "PawnHash", PawnHashMaxMb, [] { return pawn_cache_size().megabytes; }, pawn_cache_resize, "pawn cache",
          "info string Pawn Hash size = %d\n"),
      cache_option(
          "MaterialHash", MaterialHashMaxMb, [] { return material_cache_size().megabytes; }, material_cache_resize,
          "material cache", "info string Material Hash size = %d\n"),
      button_option("ClearHash", clear_hash),
      numbered_switch("Ponder", FrontEnd.ponder, "info string Ponder = %d\n"),
      number_setting("MultiPV", 1, 255, SearchConfig.multiPV, "info string MultiPV = %d\n"),
      numbered_switch("UCI_Chess960", BoardConfig.chess960, "info string UCI_Chess960 = %d\n"),
      numbered_switch("Castling_OO", BoardConfig.castlingOO, "info string Castling_OO = %d\n"),
      spin_option("Threads", 1, ShownMaxThreads, thread_count, set_threads),
      tablebase_switch(),
      text_setting("NalimovPath", TablebaseConfig.path, "info string NalimovPath = %s\n",
                   &TablebaseConfig.setupPending),
      spin_option(
          "NalimovCache", 1, 32, [] { return TablebaseConfig.cacheMegabytes; }, set_tablebase_cache),
      numbered_switch("OwnBook", BookConfig.ownBook, "info string OwnBook = %d\n"),
      text_setting("BookFileName", BookConfig.fileName, "info string BookFileName = %s\n"),
      combo_option(
          "BookStyle", {BookStyles[0], BookStyles[1], BookStyles[2]},
          [] { return std::string(BookStyles[BookConfig.style - 1]); }, set_book_style),
      number_setting("BookMovesScore", 0, 80, BookConfig.movesScore, "info string BookMovesScore = %d\n"),
      numbered_switch("ListBookMoves", BookConfig.listMoves, "info string ListBookMoves = %d\n"),
      numbered_switch("BookLearn", BookConfig.learn, "info string BookLearn = %d\n"),
      numbered_switch("DebugInfoString", BoardConfig.debugInfo, "info string DebugInfoString = %d\n"),
      numbered_switch("UCI_ShowCurrLine", SearchConfig.showCurrLine, "info string UCI_ShowCurrentLine = %d\n"),
      worded_switch("UsePlayLevel", SearchConfig.usePlayLevel),
      number_setting("PlayLevel", 1, 20, SearchConfig.playLevel, "info string PlayLevel = %d\n"),
      worded_switch("SSE_Popcount", BoardConfig.ssePopcount),
      worded_switch("SSE_Prefetch", BoardConfig.ssePrefetch),
      move_overhead_option(),
  };
  add_syzygy_options(options);
  options.push_back(worded_switch("UCI_ShowWDL", FrontEnd.showWdl));
  return options;
}
}  // namespace

const OptionList& classic_options() {
  static const OptionList options = declare_options();
  return options;
}
}  // namespace classic
