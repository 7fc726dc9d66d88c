// The accumulator: features, refresh, and the incremental update from one or two
// plies back, which must agree with a refresh bit for bit.
#include <cstring>
#include <random>

#include "board/movetext.h"
#include "games.h"
#include "network_files.h"
#include "nnue/board_link.h"

namespace {

NnuePlyData refreshed(const Position& pos) {
  NnuePlyData ply;
  ply.computed = 0;
  NnuePlyData* const records[3] = {&ply, nullptr, nullptr};
  evaluate_network_incremental(pos, records);
  return ply;
}

bool same_row(const int16_t* a, const int16_t* b) { return memcmp(a, b, 256 * sizeof(int16_t)) == 0; }

// Each value of `row` plus `delta`, wrapping as the accumulator does.
std::vector<int16_t> shifted(const int16_t* row, int delta) {
  std::vector<int16_t> out(256);
  for (int k = 0; k < 256; ++k) out[k] = int16_t(uint16_t(row[k] + delta));
  return out;
}

void shift_record(NnuePlyData& ply, int whiteDelta, int blackDelta) {
  auto white = shifted(ply.accumulator[0], whiteDelta), black = shifted(ply.accumulator[1], blackDelta);
  memcpy(ply.accumulator[0], white.data(), 512);
  memcpy(ply.accumulator[1], black.data(), 512);
}

Position after_moves(Position pos, std::initializer_list<const char*> moves) {
  for (const char* text : moves) {
    Move m = parse_move(pos, text);
    EXPECT_NE(m, 0u) << text;
    make_move(pos, m, 1);
  }
  return pos;
}

TEST(Features, FollowTheOwnKingAndTurnTheBoardForBlack) {
  // White king e1, white pawn e2, from white's side: block 4, pawn base 1, square 12.
  EXPECT_EQ(feature_index(0, E1, NnueWhitePawn, E2), 641 * 4 + 1 + 12);
  // From black's side (king e8) the same pawn is an enemy pawn on the turned board.
  EXPECT_EQ(feature_index(1, E8, NnueWhitePawn, E2), 641 * (E8 ^ 63) + 65 + (E2 ^ 63));
  EXPECT_EQ(feature_index(0, A1, NnueBlackQueen, H8), 577 + 63);
  EXPECT_EQ(feature_index(1, H8, NnueBlackQueen, A1), 0 + 513 + 63);
  EXPECT_EQ(feature_index(0, H8, NnueWhiteKnight, A1), 641 * 63 + 129);
  EXPECT_EQ(feature_index(1, A1, NnueBlackRook, H8), 641 * 63 + 385);
}

TEST(Features, RefreshAddsTheRowsOfEveryNonKingPiece) {
  NetworkImage img;
  for (int k = 0; k < 256; ++k) {
    img.put16(NetFile::FeatureBiases + 2 * k, 1000 - k);
    img.feature_weight(641 * 4 + 1 + 12, k, k);                       // white: pawn e2, king e1
    img.feature_weight(641 * (E8 ^ 63) + 65 + (E2 ^ 63), k, -3 * k);  // black: the same pawn
    img.feature_weight(641 * 4 + NnueKingBlock - 1, k, 32767);        // never active here
  }
  load_image(img);
  NnuePlyData ply = refreshed(position_from("4k3/8/8/8/8/8/4P3/4K3 w - -"));
  for (int k = 0; k < 256; ++k) {
    EXPECT_EQ(ply.accumulator[0][k], 1000 - k + k);
    EXPECT_EQ(ply.accumulator[1][k], 1000 - k - 3 * k);
  }
}

class Incremental : public ::testing::Test {
 protected:
  // Full-range feature weights: sums wrap around int16 all the time.
  void SetUp() override { load_random_network(11, 32767, 1 << 30); }
};

TEST_F(Incremental, EqualsRefreshAlongRandomGamesFromOneAndTwoPliesBack) {
  KindCounts kinds;
  int kingMoveTwoBack = 0;
  uint32_t seed = 1;
  for (const GameStart& start : GameStarts) {
    for (int game = 0; game < 6; ++game) {
      std::vector<NnuePlyData> plies(1);
      bool first = true;
      play_random_game(start, seed++, 120, [&](const Position& before, Move m, const Position& after) {
        if (first) plies[0] = refreshed(before), first = false;
        kinds.count(m);
        size_t p = plies.size();
        plies.emplace_back();
        record_move_changes(before, m, plies[p]);
        NnuePlyData fresh = refreshed(after);

        NnuePlyData* const oneBack[3] = {&plies[p], &plies[p - 1], p >= 2 ? &plies[p - 2] : nullptr};
        int score = evaluate_network_incremental(after, oneBack);
        ASSERT_TRUE(same_row(plies[p].accumulator[0], fresh.accumulator[0])) << move_text(m);
        ASSERT_TRUE(same_row(plies[p].accumulator[1], fresh.accumulator[1])) << move_text(m);
        ASSERT_EQ(score, evaluate_network(after));

        if (p < 2) return;
        NnuePlyData skipped = plies[p - 1], current = plies[p];
        skipped.computed = current.computed = 0;
        NnuePlyData* const twoBack[3] = {&current, &skipped, &plies[p - 2]};
        evaluate_network_incremental(after, twoBack);
        ASSERT_TRUE(same_row(current.accumulator[0], fresh.accumulator[0])) << move_text(m);
        ASSERT_TRUE(same_row(current.accumulator[1], fresh.accumulator[1])) << move_text(m);
        int earlier = skipped.PieceChanges.piece[0];
        if (earlier == NnueWhiteKing || earlier == NnueBlackKing) ++kingMoveTwoBack;
      });
    }
  }
  const char* names[KindCount] = {"white king", "black king", "white castling", "black castling",
                                  "promotion",  "en passant", "capture"};
  for (int k = 0; k < KindCount; ++k) EXPECT_GT(kinds.seen[k], 0) << names[k];
  EXPECT_GT(kingMoveTwoBack, 0);
}

TEST_F(Incremental, EveryPathAddsAndTakesRowsAsTheScalarOneDoes) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> feature(0, NnueFeatures - 1), value(-32768, 32767);
  NetworkPaths paths = network_paths();
  for (int round = 0; round < 300; ++round) {
    FeatureList removed, added;
    for (int i = round % 7; i > 0; --i) removed.add(feature(rng));
    for (int i = round % 31; i > 0; --i) added.add(feature(rng));
    alignas(64) int16_t base[256], expected[256], got[256];
    for (int16_t& v : base) v = int16_t(value(rng));
    add_feature_rows_scalar(expected, base, removed, added);
    for (int p = 0; p < paths.count; ++p) {
      if (!paths.path[p].runs) continue;
      paths.path[p].add_feature_rows(got, base, removed, added);
      ASSERT_TRUE(same_row(got, expected)) << paths.path[p].name << " round " << round;
    }
  }
}

TEST_F(Incremental, KingMoveRebuildsTheMoversSideAndCarriesTheOtherFromTheBase) {
  Position start = position_from("4k3/p7/8/8/8/8/3P4/4K3 w - -");
  Position afterKing = after_moves(start, {"e1f1"});
  Position afterBoth = after_moves(afterKing, {"a7a6"});

  // A base whose values are off by a known amount shows which side was carried over.
  NnuePlyData base = refreshed(start);
  shift_record(base, 1000, 7);
  NnuePlyData king, pawn;
  record_move_changes(start, parse_move(start, "e1f1"), king);
  record_move_changes(afterKing, parse_move(afterKing, "a7a6"), pawn);

  NnuePlyData* const oneBack[3] = {&king, &base, nullptr};
  evaluate_network_incremental(afterKing, oneBack);
  NnuePlyData fresh = refreshed(afterKing);
  EXPECT_TRUE(same_row(king.accumulator[0], fresh.accumulator[0]));
  EXPECT_TRUE(same_row(king.accumulator[1], shifted(fresh.accumulator[1], 7).data()));

  king.computed = 0;
  NnuePlyData* const twoBack[3] = {&pawn, &king, &base};
  evaluate_network_incremental(afterBoth, twoBack);
  fresh = refreshed(afterBoth);
  EXPECT_TRUE(same_row(pawn.accumulator[0], fresh.accumulator[0]));
  EXPECT_TRUE(same_row(pawn.accumulator[1], shifted(fresh.accumulator[1], 7).data()));
}

TEST_F(Incremental, PicksItsBaseOrRefreshes) {
  Position start = position_from("4k3/p7/8/8/8/8/3P4/4K3 w - -");
  Position after = after_moves(start, {"d2d4"});
  NnuePlyData fresh = refreshed(after);
  NnuePlyData base = refreshed(start);
  shift_record(base, 5, 5);

  auto update = [&](NnuePlyData* previous, NnuePlyData* earlier) {
    NnuePlyData current;
    record_move_changes(start, parse_move(start, "d2d4"), current);
    NnuePlyData* const records[3] = {&current, previous, earlier};
    evaluate_network_incremental(after, records);
    return current;
  };
  // No computed record one ply back and none usable two back: a full refresh.
  NnuePlyData uncomputed = base;
  uncomputed.computed = 0;
  EXPECT_TRUE(same_row(update(&uncomputed, nullptr).accumulator[0], fresh.accumulator[0]));
  EXPECT_TRUE(same_row(update(nullptr, &base).accumulator[0], fresh.accumulator[0]));
  EXPECT_TRUE(same_row(update(nullptr, nullptr).accumulator[1], fresh.accumulator[1]));
  // A computed record one ply back is the base.
  EXPECT_TRUE(same_row(update(&base, nullptr).accumulator[0], shifted(fresh.accumulator[0], 5).data()));
}

TEST_F(Incremental, ComputedRecordsNullMovesAndEmptyChangesKeepTheBase) {
  Position pos = position_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  NnuePlyData base = refreshed(pos);
  shift_record(base, 3, -3);

  // Already computed: kept without a look at the lists.
  NnuePlyData done = base;
  NnuePlyData* const doneRecords[3] = {&done, nullptr, nullptr};
  evaluate_network_incremental(position_from("8/8/8/3k4/8/3K4/8/8 w - -"), doneRecords);
  EXPECT_TRUE(same_row(done.accumulator[0], base.accumulator[0]));

  NnuePlyData nullMove;
  record_move_changes(pos, 0, nullMove);
  EXPECT_EQ(nullMove.PieceChanges.count, 0);
  NnuePlyData nowhere;
  nowhere.computed = 0;
  nowhere.PieceChanges = {1, {NnueWhiteQueen, 0, 0}, {NnueOffBoard, 0, 0}, {NnueOffBoard, 0, 0}};
  for (NnuePlyData* current : {&nullMove, &nowhere}) {
    NnuePlyData* const records[3] = {current, &base, nullptr};
    evaluate_network_incremental(pos, records);
    EXPECT_TRUE(same_row(current->accumulator[0], base.accumulator[0]));
    EXPECT_TRUE(same_row(current->accumulator[1], base.accumulator[1]));
  }
}

TEST(PieceChanges, DescribeEveryKindOfMove) {
  struct Case {
    const char* fen;
    const char* move;
    NnuePieceChanges expected;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/4P3/4K3 w - -", "e2e4", {1, {NnueWhitePawn}, {E2}, {E4}}},
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", {2, {NnueWhitePawn, NnueBlackPawn}, {E4, D5}, {D5, 64}}},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", {2, {NnueWhitePawn, NnueBlackPawn}, {E5, D5}, {D6, 64}}},
      {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "d4e3", {2, {NnueBlackPawn, NnueWhitePawn}, {D4, E4}, {E3, 64}}},
      {"1r2k3/P7/8/8/8/8/8/4K3 w - -",
       "a7b8n",
       {3, {NnueWhitePawn, NnueWhiteKnight, NnueBlackRook}, {A7, 64, B8}, {64, B8, 64}}},
      {"4k3/8/8/8/8/8/p7/4K3 b - -", "a2a1q", {2, {NnueBlackPawn, NnueBlackQueen}, {A2, 64}, {64, A1}}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1g1", {2, {NnueWhiteKing, NnueWhiteRook}, {E1, H1}, {G1, F1}}},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8c8", {2, {NnueBlackKing, NnueBlackRook}, {E8, A8}, {C8, D8}}},
  };
  for (const Case& c : cases) {
    Position pos = position_from(c.fen);
    Move m = parse_move(pos, c.move);
    ASSERT_NE(m, 0u) << c.move;
    NnuePlyData ply;
    ply.computed = 1;
    record_move_changes(pos, m, ply);
    const NnuePieceChanges& got = ply.PieceChanges;
    EXPECT_EQ(ply.computed, 0);
    ASSERT_EQ(got.count, c.expected.count) << c.move;
    for (int i = 0; i < got.count; ++i) {
      EXPECT_EQ(got.piece[i], c.expected.piece[i]) << c.move << " entry " << i;
      EXPECT_EQ(got.from[i], c.expected.from[i]) << c.move << " entry " << i;
      EXPECT_EQ(got.to[i], c.expected.to[i]) << c.move << " entry " << i;
    }
  }
}

}  // namespace
