// The Gaviota reader on the Debian 3-man tables: finding the files, choosing a
// table for the material, the values it reads, and a file that breaks after set-up.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include <gtest/gtest.h>

#include "egtb/reader.h"
#include "tablebase_support.h"

using namespace classic;

namespace fs = std::filesystem;

namespace {

// White's pawns, knights, bishops, rooks, queens, then Black's.
struct Material {
  int counts[10] = {};
};

Material material(int whiteType, int blackType) {
  Material m;
  if (whiteType) m.counts[whiteType - Pawn] = 1;
  if (blackType) m.counts[5 + blackType - Pawn] = 1;
  return m;
}

TableMen men(std::initializer_list<std::pair<int, int>> squareAndType) {
  TableMen list;
  for (auto [square, type] : squareAndType) {
    list.square[list.count] = square;
    list.type[list.count++] = type;
  }
  return list;
}

// Registers the tables and gives them the cache they need for reading.
int open_tables(const std::vector<std::string>& dirs) {
  const int largest = register_tables(dirs);
  EXPECT_TRUE(largest == 0 || set_table_cache(1 << 20));
  return largest;
}

fs::path fresh_dir() {
  const fs::path dir = fs::temp_directory_path() / ("veltrix-egtb-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

class GaviotaReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_tables();
    SKIP_WITHOUT_GAVIOTA_TABLES();
  }
  void TearDown() override { register_tables({}); }
};

TEST_F(GaviotaReaderTest, RegistersTheThreeMenTablesOfEveryCompressionScheme) {
  for (const char* dir : {"gtb1", "gtb2", "gtb3", "gtb4"}) {
    EXPECT_EQ(open_tables({GaviotaRoot + "/" + dir}), 3) << dir;
    EXPECT_EQ(open_tables({GaviotaRoot + "/" + dir + "/"}), 3) << dir << "/";
  }
  // Directories of several schemes: the library reads one, the most common.
  EXPECT_EQ(open_tables({"/nowhere", GaviotaRoot + "/gtb1", GaviotaRoot + "/gtb4"}), 3);
  int table = select_table(material(Queen, 0).counts);
  EXPECT_GT(table, 0);
  EXPECT_TRUE(table_available(table, White));
  EXPECT_EQ(read_table(table, White, men({{D1, Queen}, {E1, King}}), men({{E8, King}}), NoEpSquare, false), 32767 - 8);
}

// The library opens one scheme: two cp1 tables outvote one cp4 table.
TEST_F(GaviotaReaderTest, ReadsTheSchemeMostTablesAreStoredIn) {
  const fs::path dir = fresh_dir();
  fs::copy_file(GaviotaRoot + "/gtb1/kqk.gtb.cp1", dir / "kqk.gtb.cp1");
  fs::copy_file(GaviotaRoot + "/gtb1/krk.gtb.cp1", dir / "krk.gtb.cp1");
  fs::copy_file(GaviotaRoot + "/gtb4/kpk.gtb.cp4", dir / "kpk.gtb.cp4");
  EXPECT_EQ(open_tables({dir.string()}), 3);
  EXPECT_GT(select_table(material(Queen, 0).counts), 0);
  EXPECT_GT(select_table(material(Rook, 0).counts), 0);
  EXPECT_EQ(select_table(material(Pawn, 0).counts), 0);
  fs::remove_all(dir);
}

TEST_F(GaviotaReaderTest, FindsNothingWhereThereAreNoTables) {
  EXPECT_EQ(register_tables({}), 0);
  EXPECT_EQ(register_tables({"/nowhere/at/all"}), 0);
  EXPECT_EQ(register_tables({GaviotaRoot}), 0);  // the tables lie one level deeper
  EXPECT_EQ(select_table(material(Queen, 0).counts), 0);
  EXPECT_FALSE(table_available(1, White));
  EXPECT_EQ(read_table(1, White, men({{E1, King}}), men({{E8, King}}), NoEpSquare, false), NoValue);
}

TEST_F(GaviotaReaderTest, SelectsByMaterialWithTheColoursExchangedWhenNeeded) {
  ASSERT_EQ(open_tables({GaviotaTables}), 3);
  for (int type : {Pawn, Knight, Bishop, Rook, Queen}) {
    int table = select_table(material(type, 0).counts);
    EXPECT_GT(table, 0) << type;
    EXPECT_EQ(select_table(material(0, type).counts), -table) << type;
  }
  EXPECT_EQ(select_table(material(0, 0).counts), 0);         // two bare kings
  EXPECT_EQ(select_table(material(Queen, Rook).counts), 0);  // 4 men: not in the package
  Material fivePawns;
  fivePawns.counts[0] = 5;
  EXPECT_EQ(select_table(fivePawns.counts), 0);
}

// White Ke1 Qd1 against Ke8: mate with White's 8th move, 15 plies.
TEST_F(GaviotaReaderTest, ReadsWinsLossesAndDrawsForTheSideToMove) {
  ASSERT_EQ(open_tables({GaviotaTables}), 3);
  const int kqk = select_table(material(Queen, 0).counts);
  const TableMen white = men({{D1, Queen}, {E1, King}}), black = men({{E8, King}});
  EXPECT_EQ(read_table(kqk, White, white, black, NoEpSquare, false), 32767 - 8);
  // Black to move here is mated at his 9th turn (16 plies), as Gaviota counts it.
  EXPECT_EQ(read_table(kqk, Black, white, black, NoEpSquare, false), -(32767 - 9));
  // Mated already: the loser stands mated at his first turn.
  EXPECT_EQ(read_table(kqk, Black, men({{B7, Queen}, {B6, King}}), men({{A8, King}}), NoEpSquare, false), -(32767 - 1));
  // Black to move takes the unprotected queen.
  EXPECT_EQ(read_table(kqk, Black, men({{E7, Queen}, {A1, King}}), men({{E8, King}}), NoEpSquare, false), 0);
  // An illegal position (the side not to move in check) has no value.
  EXPECT_EQ(read_table(kqk, White, men({{E7, Queen}, {A1, King}}), men({{E8, King}}), NoEpSquare, false), NoValue);
}

// Black's queen on d8 with Black to move is White's queen on d1 with White to move.
TEST_F(GaviotaReaderTest, AnExchangedTableReadsTheBoardTurnedAround) {
  ASSERT_EQ(open_tables({GaviotaTables}), 3);
  const int kqk = select_table(material(Queen, 0).counts);
  const TableMen stronger = men({{D8, Queen}, {E8, King}}), weaker = men({{E1, King}});
  EXPECT_EQ(read_table(kqk, White, stronger, weaker, NoEpSquare, true), 32767 - 8);
  EXPECT_EQ(read_table(kqk, Black, stronger, weaker, NoEpSquare, true), -(32767 - 9));
  // A pawn ending turned around: Black's pawn running down the board.
  const int kpk = select_table(material(Pawn, 0).counts);
  const TableMen whiteView = men({{E2, Pawn}, {E1, King}}), blackKing = men({{E8, King}});
  const TableMen pawnDown = men({{E7, Pawn}, {E8, King}}), whiteKing = men({{E1, King}});
  for (int side : {White, Black})
    EXPECT_EQ(read_table(kpk, side, whiteView, blackKing, NoEpSquare, false),
              read_table(kpk, side, pawnDown, whiteKing, NoEpSquare, true))
        << side;
}

TEST_F(GaviotaReaderTest, AFileThatBreaksAfterSetUpIsReportedOnceAndDropped) {
  const fs::path dir = fresh_dir();
  fs::copy_file(GaviotaTables + "/kqk.gtb.cp4", dir / "kqk.gtb.cp4", fs::copy_options::overwrite_existing);
  std::ofstream(dir / "readme.txt") << "not a table";
  std::ofstream(dir / "kqk.gtb.cp9") << "no such scheme";
  ASSERT_EQ(open_tables({dir.string()}), 3);
  const int kqk = select_table(material(Queen, 0).counts);
  ASSERT_GT(kqk, 0);
  EXPECT_EQ(select_table(material(Rook, 0).counts), 0);
  fs::resize_file(dir / "kqk.gtb.cp4", 100);

  // A block the library has not read yet.
  testing::internal::CaptureStdout();
  const TableMen white = men({{H1, Queen}, {A1, King}}), black = men({{E5, King}});
  const int value = read_table(kqk, Black, white, black, NoEpSquare, false);
  const bool available = table_available(kqk, Black);
  const int again = read_table(kqk, Black, white, black, NoEpSquare, false);
  fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "info string egtb kqk cannot be read, no more probes of it\n");
  EXPECT_EQ(value, NoValue);
  EXPECT_FALSE(available);
  EXPECT_EQ(again, NoValue);
  register_tables({});
  fs::remove_all(dir);
}

}  // namespace
