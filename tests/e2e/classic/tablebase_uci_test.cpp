// Tablebases end to end: the set-up messages at the first search, the scores and
// tablebase hits of the reports, and an engine that plays on without tables.
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/engine_process.h"
#include "support/gaviota_tables.h"

namespace {

const char* const Loaded = "info string egtb init...\ninfo string egtb 3 man loaded, Everything was OK.\n\n";
const char* const NotFound = "info string egtb init...\ninfo string error load egtbs: Could not find table bases\n";

struct TablebaseEngine {
  EngineProcess engine{VELTRIX_CLASSIC_BIN};
  explicit TablebaseEngine(const std::string& pathList) {
    engine.send("uci");
    engine.read_until("uciok\n");
    engine.send("setoption name Hash value 16");
    engine.send("setoption name OwnBook value false");
    engine.send("setoption name NalimovPath value " + pathList);
  }
  // Everything from "go" to the end of the "bestmove" line.
  std::string search(const std::string& fen, int depth) {
    engine.send("position fen " + fen);
    engine.send("go depth " + std::to_string(depth));
    std::string out = engine.read_until("bestmove ", 20000);
    return out + engine.read_until("\n", 2000);
  }
};

// Score and tablebase hits of the last report of a search.
struct LastReport {
  std::string score;
  unsigned long long tbhits = 0;
};

LastReport last_report(const std::string& out) {
  LastReport r;
  std::istringstream in(out);
  const std::regex info("info depth .* score ((cp|mate) -?\\d+) .*tbhits (\\d+) time .*");
  std::smatch m;
  for (std::string line; std::getline(in, line);)
    if (std::regex_match(line, m, info)) {
      r.score = m[1];
      r.tbhits = std::stoull(m[3]);
    }
  return r;
}

TEST(ClassicTablebases, FirstSearchSetsTheTablesUpAndReportsTheirSize) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  TablebaseEngine t(GaviotaTables);
  std::string out = t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2);
  EXPECT_EQ(out.rfind(Loaded, 0), 0u) << out;
  // Set up once; again only after the path or the cache size was set.
  out = t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2);
  EXPECT_EQ(out.find("egtb"), std::string::npos) << out;
  t.engine.send("setoption name NalimovCache value 8");  // unchanged: nothing to do
  out = t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2);
  EXPECT_EQ(out.find("egtb"), std::string::npos) << out;
  t.engine.send("setoption name NalimovCache value 16");
  EXPECT_EQ(t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2).rfind(Loaded, 0), 0u);
  t.engine.send("setoption name NalimovPath value /usr/share/gaviotatb/gtb1;/nowhere");
  EXPECT_EQ(t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2).rfind(Loaded, 0), 0u);
}

// The tables: the stronger side mates with its 7th move, from either side's view.
TEST(ClassicTablebases, KingAndQueenAgainstKingIsAMateForTheStrongerSide) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  TablebaseEngine t(GaviotaTables);
  LastReport r = last_report(t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 8));
  EXPECT_EQ(r.score, "mate 7");
  EXPECT_GT(r.tbhits, 0u);
  r = last_report(t.search("3qk3/8/8/8/4K3/8/8/8 w - - 0 1", 8));
  EXPECT_EQ(r.score, "mate -8");
  EXPECT_GT(r.tbhits, 0u);
}

TEST(ClassicTablebases, KingAndBishopAgainstKingIsADrawWithoutProbes) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  TablebaseEngine t(GaviotaTables);
  std::string out = t.search("8/8/8/4k3/8/8/8/3BK3 w - - 0 1", 8);
  EXPECT_EQ(out.rfind(Loaded, 0), 0u) << out;
  LastReport r = last_report(out);
  EXPECT_EQ(r.score, "cp -1");
  EXPECT_EQ(r.tbhits, 0u);
}

// The tables' draw is certain, where a draw score alone would not tell.
TEST(ClassicTablebases, WinDrawLossOfTheTablesAreCertain) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  TablebaseEngine t(GaviotaTables);
  t.engine.send("setoption name UCI_ShowWDL value true");
  // The rook's pawn with the defending king in the corner in front of it.
  std::string out = t.search("7k/8/8/8/8/8/7P/7K w - - 0 1", 6);
  EXPECT_EQ(out.find(" wdl 0 1000 0 "), out.find(" wdl ")) << out;
  out = t.search("4k3/8/4K3/4P3/8/8/8/8 w - - 0 1", 6);
  EXPECT_EQ(out.find(" wdl 1000 0 0 "), out.find(" wdl ")) << out;
}

TEST(ClassicTablebases, UseNalimovOffMeansNoProbes) {
  SKIP_WITHOUT_GAVIOTA_TABLES();
  TablebaseEngine t(GaviotaTables);
  t.engine.send("setoption name UseNalimov value false");
  std::string out = t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 6);
  EXPECT_EQ(out.rfind(Loaded, 0), 0u) << "the tables are still set up";
  LastReport r = last_report(out);
  EXPECT_EQ(r.tbhits, 0u) << out;
  EXPECT_EQ(r.score.rfind("cp ", 0), 0u) << r.score;
}

// "isready" sets the tables up, so that the first move's clock does not pay for it.
TEST(ClassicTablebases, IsreadySetsTheTablesUpBeforeTheFirstSearch) {
  TablebaseEngine t("/nowhere");
  t.engine.send("isready");
  EXPECT_EQ(t.engine.read_until("readyok\n"), std::string(NotFound) + "readyok\n");
  std::string out = t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2);
  EXPECT_EQ(out.find("egtb"), std::string::npos) << out;
  // The same settings again, as interfaces send them before each game: no new
  // attempt, no new message. Probing switched on again tries once more.
  t.engine.send("setoption name NalimovPath value /nowhere");
  t.engine.send("setoption name UseNalimov value true");
  t.engine.send("isready");
  EXPECT_EQ(t.engine.read_until("readyok\n"), "readyok\n");
  t.engine.send("setoption name UseNalimov value false");
  t.engine.send("setoption name UseNalimov value true");
  t.engine.send("isready");
  EXPECT_EQ(t.engine.read_until("readyok\n"), std::string(NotFound) + "readyok\n");
}

TEST(ClassicTablebases, WithoutTablesTheEnginePlaysOn) {
  for (const char* path : {"/nowhere", "E:\\schach\\EGTB", ";"}) {
    TablebaseEngine t(path);
    std::string out = t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 6);
    EXPECT_EQ(out.rfind(NotFound, 0), 0u) << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("bestmove [a-h][1-8][a-h][1-8] "))) << out;
    EXPECT_EQ(last_report(out).tbhits, 0u);
  }
  // An empty value.
  TablebaseEngine t("");
  EXPECT_EQ(t.search("8/8/8/4k3/8/8/8/3QK3 w - - 0 1", 2).rfind(NotFound, 0), 0u);
}

}  // namespace
