// The four functions other programs call: through the shared library, as built
// into this test, and as exported by the veltrix program.
#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "network_files.h"
#include "nnue/board_link.h"
#include "support/board_setup.h"

namespace {

const char* const Fens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 b - -",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8",
    "4k3/8/8/8/8/8/8/4K2Q b - - 5 60",
};

Position board_of(const char* fen) { return position_from(fen); }

NnueLists lists_of(const char* fen) {
  NnueLists lists;
  build_piece_lists(board_of(fen), lists);
  return lists;
}

int side_of(const char* fen) { return board_of(fen).SideToMove == White ? 0 : 1; }

// The position turned by 180 degrees with the colours swapped.
NnueLists colour_flipped(const NnueLists& lists) {
  NnueLists out = lists;
  for (int i = 0; i < 33 && lists.pieces[i]; ++i) {
    int j = i < 2 ? 1 - i : i;
    out.pieces[j] = lists.pieces[i] <= 6 ? lists.pieces[i] + 6 : lists.pieces[i] - 6;
    out.squares[j] = lists.squares[i] ^ 63;
  }
  return out;
}

class Exported : public ::testing::Test {
 protected:
  void SetUp() override { load_random_network(31); }
};

TEST_F(Exported, FenEvaluationEqualsListEvaluationAndIgnoresCastlingAndEnPassant) {
  for (const char* fen : Fens) {
    NnueLists lists = lists_of(fen);
    EXPECT_EQ(nnue_evaluate_fen(fen), nnue_evaluate(side_of(fen), lists.pieces, lists.squares)) << fen;
  }
  const char* base = "rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPP2PPP/RNBQKBNR b";
  int expected = nnue_evaluate_fen(base);
  for (const char* tail : {" KQkq -", " - -", " Kq e3", " KQkq e3 0 3", " - - 12 40"})
    EXPECT_EQ(nnue_evaluate_fen((std::string(base) + tail).c_str()), expected) << tail;
  EXPECT_NE(nnue_evaluate_fen("rnbqkbnr/pppp1ppp/8/8/3pP3/8/PPP2PPP/RNBQKBNR w"), expected);
}

TEST_F(Exported, FenDecodingSurvivesTruncatedAndOverfullText) {
  for (const char* text : {"", "rnbqkbnr/ppp", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                           "qqqqqqqq/qqqqqqqq/qqqqqqqq/qqqqqqqq/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQKQQQk w"})
    nnue_evaluate_fen(text);
  EXPECT_EQ(nnue_evaluate_fen("4k3/8/8/8/8/8/8/4K3 w"), nnue_evaluate_fen("4k3/8/8/8/8/8/8/4K3 w - -"));
}

TEST_F(Exported, BlackToMoveIsWhiteToMoveOnTheColourFlippedBoard) {
  for (const char* fen : Fens) {
    NnueLists lists = lists_of(fen), flipped = colour_flipped(lists);
    EXPECT_EQ(nnue_evaluate(1, lists.pieces, lists.squares), nnue_evaluate(0, flipped.pieces, flipped.squares));
    EXPECT_EQ(nnue_evaluate(0, lists.pieces, lists.squares), nnue_evaluate(1, flipped.pieces, flipped.squares));
  }
}

TEST_F(Exported, IncrementalCallUpdatesTheCallersRecords) {
  NnueLists before = lists_of(Fens[0]);
  NnuePlyData first, second;
  first.computed = 0;
  NnuePlyData* records[3] = {&first, nullptr, nullptr};
  EXPECT_EQ(nnue_evaluate_incremental(0, before.pieces, before.squares, records),
            nnue_evaluate(0, before.pieces, before.squares));
  EXPECT_EQ(first.computed, 1);

  // 1. e4: the pawn on e2 (slot of the list) goes to e4.
  NnueLists after = before;
  for (int i = 2; after.pieces[i]; ++i)
    if (after.squares[i] == E2) after.squares[i] = E4;
  second.computed = 0;
  second.PieceChanges = {1, {NnueWhitePawn}, {E2}, {E4}};
  records[0] = &second;
  records[1] = &first;
  EXPECT_EQ(nnue_evaluate_incremental(1, after.pieces, after.squares, records),
            nnue_evaluate(1, after.pieces, after.squares));
}

TEST_F(Exported, IncrementalCallStopsOnAMissingOrMisalignedRecord) {
  NnueLists lists = lists_of(Fens[0]);
  alignas(64) unsigned char space[sizeof(NnuePlyData) + 64] = {};
  NnuePlyData* misaligned = reinterpret_cast<NnuePlyData*>(space + 16);
  NnuePlyData* records[3] = {misaligned, nullptr, nullptr};
  const char* message =
      "src/nnue/nnue.*Assertion `nnue\\[0\\] && \\(uint64_t\\)\\(&nnue\\[0\\]->accumulator\\) % 64 == 0'";
  EXPECT_DEATH(nnue_evaluate_incremental(0, lists.pieces, lists.squares, records), message);
  records[0] = nullptr;
  EXPECT_DEATH(nnue_evaluate_incremental(0, lists.pieces, lists.squares, records), message);
}

template <typename F>
F symbol(void* library, const char* name) {
  return reinterpret_cast<F>(dlsym(library, name));
}

TEST_F(Exported, SharedLibraryLoadsAndEvaluatesLikeTheLinkedCode) {
  void* library = dlopen(VELTRIX_NNUE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_TRUE(library) << dlerror();
  auto init = symbol<void (*)(const char*)>(library, "nnue_init");
  auto evaluate = symbol<int (*)(int, const int*, const int*)>(library, "nnue_evaluate");
  auto incremental = symbol<int (*)(int, const int*, const int*, NnuePlyData**)>(library, "nnue_evaluate_incremental");
  auto fen = symbol<int (*)(const char*)>(library, "nnue_evaluate_fen");
  ASSERT_TRUE(init && evaluate && incremental && fen);
  EXPECT_EQ(dlsym(library, "NnueLoaded"), nullptr) << "only the four functions are exported";

  std::string dir = make_temp_dir();
  NetworkImage image;
  image.randomise(31, 48, 20000);
  std::string path = image.write(dir + "/probe.nnue");
  testing::internal::CaptureStdout();
  init(path.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading NNUE : " + path + "\nNNUE loaded !\n");
  testing::internal::CaptureStdout();
  init((dir + "/absent.nnue").c_str());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading NNUE : " + dir + "/absent.nnue\nNNUE file not found!\n");
  std::filesystem::remove_all(dir);

  for (const char* text : Fens) {
    NnueLists lists = lists_of(text);
    int side = side_of(text);
    int expected = nnue_evaluate(side, lists.pieces, lists.squares);
    EXPECT_EQ(evaluate(side, lists.pieces, lists.squares), expected) << text;
    EXPECT_EQ(fen(text), expected) << text;
    NnuePlyData ply;
    ply.computed = 0;
    NnuePlyData* records[3] = {&ply, nullptr, nullptr};
    EXPECT_EQ(incremental(side, lists.pieces, lists.squares, records), expected) << text;
  }
  dlclose(library);
}

TEST(VeltrixProgram, ExportsTheFourFunctionsByName) {
  FILE* pipe = popen("nm -D --defined-only " VELTRIX_BIN, "r");
  ASSERT_TRUE(pipe);
  std::set<std::string> names;
  char line[512];
  while (fgets(line, sizeof line, pipe)) {
    char address[64], kind[8], name[400];
    if (sscanf(line, "%63s %7s %399s", address, kind, name) == 3 && std::string(kind) == "T") names.insert(name);
  }
  ASSERT_EQ(pclose(pipe), 0);
  for (const char* fn : {"nnue_init", "nnue_evaluate", "nnue_evaluate_incremental", "nnue_evaluate_fen"})
    EXPECT_TRUE(names.count(fn)) << fn;
}

TEST(RealNetwork, ScoresAQueenUpStronglyAndTheStartNearEven) {
  REQUIRE_REAL_NETWORK();
  int start = network_to_centipawns(nnue_evaluate_fen(Fens[0]));
  EXPECT_LT(std::abs(start), 100) << start;
  int queenUp = network_to_centipawns(nnue_evaluate_fen("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"));
  EXPECT_GT(queenUp, 500);
  int queenUpBlack = evaluate_network(board_of("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNB1KBNR b KQkq -"));
  EXPECT_GT(queenUpBlack, 500);
  // This network judges the side to move a queen down far more mildly (about -2
  // pawns), but still clearly lost.
  int queenDown = evaluate_network(board_of("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq -"));
  EXPECT_LT(queenDown, -100);
}

}  // namespace
