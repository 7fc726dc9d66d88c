// Loading network files: what is accepted, what is refused, and the tables a
// file turns into.
#include <cstring>
#include <filesystem>
#include <memory>

#include "network_files.h"

namespace {

// A copy of the loaded tables, to see that a refused file changed nothing.
std::unique_ptr<NetworkTables> snapshot() {
  auto copy = std::make_unique<NetworkTables>();
  memcpy(copy.get(), &NetworkWeights, sizeof(NetworkTables));
  return copy;
}

bool tables_equal(const NetworkTables& a, const NetworkTables& b) { return memcmp(&a, &b, sizeof a) == 0; }

class NetworkFile : public ::testing::Test {
 protected:
  std::string dir = make_temp_dir();
  NetworkImage image;

  void SetUp() override { image.randomise(7, 48, 20000); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string write(const NetworkImage& img, const char* name) { return img.write(dir + "/" + name); }
};

TEST_F(NetworkFile, RefusesWrongSizesAndCheckWordsKeepingTheEarlierNetwork) {
  ASSERT_TRUE(load_network(write(image, "good.nnue").c_str()));
  auto before = snapshot();

  NetworkImage other;
  other.randomise(8, 48, 20000);
  std::vector<std::pair<std::string, NetworkImage>> bad;
  NetworkImage shortFile = other, longFile = other;
  shortFile.bytes.pop_back();
  longFile.bytes.push_back(0);
  bad.push_back({"one byte short", shortFile});
  bad.push_back({"one byte long", longFile});
  const std::pair<const char*, size_t> checkWords[] = {{"version", NetFile::Version},
                                                       {"network hash", NetFile::NetworkHash},
                                                       {"architecture length", NetFile::ArchitectureLength},
                                                       {"transformer hash", NetFile::TransformerHash},
                                                       {"layer-stack hash", NetFile::LayerStackHash}};
  for (auto [what, at] : checkWords) {
    NetworkImage wrong = other;
    wrong.bytes[at + 3] ^= 0x40;
    bad.push_back({what, wrong});
  }
  for (auto& [what, img] : bad) {
    EXPECT_FALSE(load_network(write(img, "bad.nnue").c_str())) << what;
    EXPECT_FALSE(load_network_image(img.bytes.data(), img.bytes.size())) << what << " in memory";
    EXPECT_TRUE(tables_equal(*before, NetworkWeights)) << what;
  }
  EXPECT_FALSE(load_network((dir + "/missing.nnue").c_str()));
  EXPECT_FALSE(load_network(dir.c_str()));
  EXPECT_FALSE(load_network(nullptr));
  EXPECT_TRUE(tables_equal(*before, NetworkWeights));
}

TEST_F(NetworkFile, AcceptsAnyArchitectureTextAndLoadsTheSameTablesAgainAndFromMemory) {
  for (size_t i = 0; i < 177; ++i) image.bytes[NetFile::Architecture + i] = uint8_t(255 - i);
  std::string path = write(image, "odd-text.nnue");
  ASSERT_TRUE(load_network(path.c_str()));
  auto first = snapshot();
  memset(&NetworkWeights, 0, sizeof NetworkWeights);
  ASSERT_TRUE(load_network(path.c_str()));
  EXPECT_TRUE(tables_equal(*first, NetworkWeights));
  // The same bytes from memory, as the program's built-in network is read.
  memset(&NetworkWeights, 0, sizeof NetworkWeights);
  ASSERT_TRUE(load_network_image(image.bytes.data(), image.bytes.size()));
  EXPECT_TRUE(tables_equal(*first, NetworkWeights));
}

TEST_F(NetworkFile, ConvertsLittleEndianValuesTransposingAndWideningHiddenWeights) {
  NetworkImage img;
  img.put16(NetFile::FeatureBiases + 2 * 3, -2);
  img.feature_weight(41023, 255, 0x1234);
  img.put32(NetFile::Hidden1Biases + 4 * 31, 0x80000001u);
  img.hidden1_weight(5, 300, -1);  // byte 0xFF
  img.hidden1_weight(31, 511, 127);
  img.hidden1_weight(0, 1, -128);
  img.put32(NetFile::Hidden2Biases, 70000);
  img.hidden2_weight(2, 30, -1);
  img.put32(NetFile::OutputBias, uint32_t(-5));
  img.bytes[NetFile::OutputWeights + 31] = 0xFF;
  ASSERT_TRUE(load_network(write(img, "chosen.nnue").c_str()));

  const NetworkTables& w = NetworkWeights;
  EXPECT_EQ(w.FeatureBiases[3], -2);
  EXPECT_EQ(w.FeatureWeights[41023 * 256 + 255], 0x1234);
  EXPECT_EQ(w.Hidden1Biases[31], int32_t(0x80000001u));
  EXPECT_EQ(w.Hidden1Weights[300 * 32 + 5], -1);
  EXPECT_EQ(w.Hidden1Weights[511 * 32 + 31], 127);
  EXPECT_EQ(w.Hidden1Weights[1 * 32 + 0], -128);
  EXPECT_EQ(w.Hidden2Biases[0], 70000);
  EXPECT_EQ(w.Hidden2Weights[30 * 32 + 2], -1);
  EXPECT_EQ(w.OutputBias, -5);
  EXPECT_EQ(w.OutputWeights[31], -1);
}

TEST_F(NetworkFile, AnnouncedLoadPrintsItsLinesAndSetsTheFlagOnlyOnSuccess) {
  std::string good = write(image, "good.nnue");
  NnueLoaded = 0;
  testing::internal::CaptureStdout();
  EXPECT_TRUE(init_network(good.c_str()));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading NNUE : " + good + "\nNNUE loaded !\n");
  EXPECT_EQ(NnueLoaded, 1);

  NetworkImage wrong = image;
  wrong.bytes[NetFile::LayerStackHash] ^= 1;
  std::string bad = write(wrong, "bad.nnue");
  testing::internal::CaptureStdout();
  EXPECT_FALSE(init_network(bad.c_str()));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading NNUE : " + bad + "\nNNUE file not found!\n");
  EXPECT_EQ(NnueLoaded, 1) << "a failed load leaves the flag alone";
}

}  // namespace
