// The layers after the accumulator: every vector path this processor runs against
// the scalar pass, and the arithmetic at the edges of the output.
#include <random>
#include <thread>

#include "games.h"
#include "network_files.h"
#include "nnue/board_link.h"

namespace {

void expect_variants_agree(const NnuePlyData& ply, int side) {
  int expected = forward_pass_scalar(ply, side);
  ASSERT_EQ(forward_pass(ply, side), expected);
  NetworkPaths paths = network_paths();
  for (int i = 1; i < paths.count; ++i) {
    if (!paths.path[i].runs) continue;
    ASSERT_EQ(paths.path[i].forward_pass(ply, side), expected) << paths.path[i].name;
  }
}

// Accumulators of every kind: mostly in the clipped range, or anywhere.
void expect_agreement_on_random_accumulators(uint32_t seed) {
  std::mt19937 rng(seed);
  for (int round = 0; round < 3000; ++round) {
    int spread = round % 3 == 0 ? 32767 : round % 3 == 1 ? 200 : 60;
    std::uniform_int_distribution<int> value(-spread, spread);
    NnuePlyData ply;
    for (auto& row : ply.accumulator)
      for (int16_t& v : row) v = int16_t(value(rng));
    expect_variants_agree(ply, round & 1);
  }
}

TEST(ForwardPass, VectorVariantsEqualScalarOnRandomNetworks) {
  load_random_network(21);
  expect_agreement_on_random_accumulators(1);
  // Hidden biases anywhere in int32: sums wrap, and saturation is the rule.
  load_random_network(22, 48, int64_t(1) << 31);
  expect_agreement_on_random_accumulators(2);
  // Hidden weights only at the ends of int8: the largest products of byte pairs.
  NetworkImage extremes;
  extremes.randomise(24, 48, 20000);
  std::mt19937 rng(24);
  auto set_extremes = [&](size_t at, size_t count) {
    for (size_t i = 0; i < count; ++i) extremes.bytes[at + i] = rng() % 2 ? 0x80 : 0x7F;
  };
  set_extremes(NetFile::Hidden1Weights, 512 * 32);
  set_extremes(NetFile::Hidden2Weights, 32 * 32);
  set_extremes(NetFile::OutputWeights, 32);
  load_image(extremes);
  expect_agreement_on_random_accumulators(3);
}

TEST(ForwardPass, VectorVariantsEqualScalarOnGamePositionsWithTheRealNetwork) {
  REQUIRE_REAL_NETWORK();
  int positions = 0;
  for (const GameStart& start : GameStarts)
    for (uint32_t seed = 0; seed < 8; ++seed)
      play_random_game(start, seed, 100, [&](const Position&, Move, const Position& after) {
        NnuePlyData ply;
        ply.computed = 0;
        NnuePlyData* const records[3] = {&ply, nullptr, nullptr};
        evaluate_network_incremental(after, records);
        expect_variants_agree(ply, 0);
        expect_variants_agree(ply, 1);
        ++positions;
      });
  EXPECT_GT(positions, 2000);
}

TEST(ForwardPass, ThreadsEvaluateAtTheSameTimeWithoutDisturbingEachOther) {
  load_random_network(23);
  std::vector<Position> positions;
  play_random_game(GameStarts[1], 5, 100,
                   [&](const Position&, Move, const Position& after) { positions.push_back(after); });
  std::vector<int> expected;
  for (const Position& pos : positions) expected.push_back(evaluate_network(pos));
  std::vector<int> mismatches(2, 0);
  auto evaluate_all = [&](int thread) {
    for (int round = 0; round < 20; ++round)
      for (size_t i = 0; i < positions.size(); ++i) mismatches[thread] += evaluate_network(positions[i]) != expected[i];
  };
  std::thread helper(evaluate_all, 1);
  evaluate_all(0);
  helper.join();
  EXPECT_EQ(mismatches[0] + mismatches[1], 0);
}

// A network whose hidden layers are all zero: the output bias alone decides.
void load_output_bias(int32_t bias) {
  NetworkImage img;
  img.put32(NetFile::OutputBias, uint32_t(bias));
  load_image(img);
}

TEST(ForwardPass, OutputIsTruncatedTowardZeroAndCentipawnsAreClamped) {
  int pieces[33] = {NnueWhiteKing, NnueBlackKing, NnueWhiteQueen};
  int squares[33] = {E1, E8, D1};
  load_output_bias(0);
  EXPECT_EQ(nnue_evaluate(0, pieces, squares), 0);
  load_output_bias(-17);
  EXPECT_EQ(nnue_evaluate(0, pieces, squares), -1);
  EXPECT_EQ(nnue_evaluate(1, pieces, squares), -1);
  load_output_bias(17);
  EXPECT_EQ(nnue_evaluate(0, pieces, squares), 1);

  EXPECT_EQ(network_to_centipawns(-1), 0);
  EXPECT_EQ(network_to_centipawns(-3), -1);
  EXPECT_EQ(network_to_centipawns(256), 100);
  EXPECT_EQ(network_to_centipawns(25599), 9999);
  EXPECT_EQ(network_to_centipawns(25600), 10000);
  EXPECT_EQ(network_to_centipawns(-25600), -10000);
  EXPECT_EQ(network_to_centipawns(INT32_MAX / 16), 10000);
  EXPECT_EQ(network_to_centipawns(INT32_MIN / 16), -10000);

  load_output_bias(25600 * 16);
  EXPECT_EQ(evaluate_network(position_from("4k3/8/8/8/8/8/8/4K3 w - -")), 10000);
}

TEST(ForwardPass, HiddenLayersClipAndScaleTheirSums) {
  // One path through the network: input 0 -> hidden unit 0 (weight 50) -> second
  // unit 0 (weight 3, bias 64) -> output (weight 100, bias 3).
  NetworkImage img;
  img.hidden1_weight(0, 0, 50);
  img.hidden2_weight(0, 0, 3);
  img.put32(NetFile::Hidden2Biases, 64);
  img.bytes[NetFile::OutputWeights] = 100;
  img.put32(NetFile::OutputBias, 3);
  load_image(img);
  NnuePlyData ply;
  ply.computed = 1;
  for (auto& row : ply.accumulator)
    for (int16_t& v : row) v = 0;
  ply.accumulator[0][0] = 100;
  // 100 * 50 / 64 = 78; (78 * 3 + 64) / 64 = 4; (4 * 100 + 3) / 16 = 25.
  EXPECT_EQ(forward_pass(ply, 0), 25);
  // The accumulator value is clipped to 127: 6350 / 64 = 99; 361 / 64 = 5; 503 / 16 = 31.
  ply.accumulator[0][0] = 30000;
  EXPECT_EQ(forward_pass(ply, 0), 31);
  // With black to move white's values come second and meet no weight: 64 / 64 = 1; 103 / 16 = 6.
  EXPECT_EQ(forward_pass(ply, 1), 6);
}

}  // namespace
