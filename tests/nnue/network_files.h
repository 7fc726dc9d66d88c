// Network files made by the tests themselves: a valid header and check words, and
// weights that are zero, chosen one by one, or random.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "nnue/nnue.h"
#include "support/engine_process.h"

// Where each part of the file starts, as the format lays it out.
namespace NetFile {
constexpr size_t Version = 0, NetworkHash = 4, ArchitectureLength = 8, Architecture = 12;
constexpr size_t TransformerHash = 189, FeatureBiases = 193, FeatureWeights = 705;
constexpr size_t LayerStackHash = 21004993, Hidden1Biases = 21004997, Hidden1Weights = 21005125;
constexpr size_t Hidden2Biases = 21021509, Hidden2Weights = 21021637;
constexpr size_t OutputBias = 21022661, OutputWeights = 21022665, Size = 21022697;
}  // namespace NetFile

struct NetworkImage {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(NetFile::Size);

  NetworkImage() {
    put32(NetFile::Version, 0x7AF32F16);
    put32(NetFile::NetworkHash, 0x3E5AA6EE);
    put32(NetFile::ArchitectureLength, 177);
    for (size_t i = 0; i < 177; ++i) bytes[NetFile::Architecture + i] = uint8_t('a' + i % 26);
    put32(NetFile::TransformerHash, 0x5D69D7B8);
    put32(NetFile::LayerStackHash, 0x63337156);
  }

  void put16(size_t at, int v) {
    bytes[at] = uint8_t(v);
    bytes[at + 1] = uint8_t(v >> 8);
  }
  void put32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (8 * i));
  }
  void feature_weight(int feature, int k, int v) {
    put16(NetFile::FeatureWeights + 2 * (size_t(feature) * 256 + k), v);
  }
  void hidden1_weight(int out, int in, int8_t v) { bytes[NetFile::Hidden1Weights + out * 512 + in] = uint8_t(v); }
  void hidden2_weight(int out, int in, int8_t v) { bytes[NetFile::Hidden2Weights + out * 32 + in] = uint8_t(v); }

  // Random weights. Feature values up to `featureLimit` (32767 exercises the
  // wrap-around of the accumulator), hidden biases up to `biasLimit`.
  void randomise(uint32_t seed, int featureLimit, int64_t biasLimit) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> feature(-featureLimit, featureLimit), byte(-128, 127);
    std::uniform_int_distribution<int64_t> bias(-biasLimit, biasLimit);
    for (int k = 0; k < 256; ++k) put16(NetFile::FeatureBiases + 2 * k, feature(rng));
    for (size_t i = 0; i < size_t(NnueFeatures) * 256; ++i) put16(NetFile::FeatureWeights + 2 * i, feature(rng));
    for (int i = 0; i < 32; ++i) {
      put32(NetFile::Hidden1Biases + 4 * i, uint32_t(bias(rng)));
      put32(NetFile::Hidden2Biases + 4 * i, uint32_t(bias(rng)));
      bytes[NetFile::OutputWeights + i] = uint8_t(byte(rng));
    }
    for (size_t i = 0; i < 512 * 32; ++i) bytes[NetFile::Hidden1Weights + i] = uint8_t(byte(rng));
    for (size_t i = 0; i < 32 * 32; ++i) bytes[NetFile::Hidden2Weights + i] = uint8_t(byte(rng));
    put32(NetFile::OutputBias, uint32_t(bias(rng)));
  }

  std::string write(const std::string& path) const {
    FILE* f = fopen(path.c_str(), "wb");
    EXPECT_TRUE(f) << path;
    if (f) {
      fwrite(bytes.data(), 1, bytes.size(), f);
      fclose(f);
    }
    return path;
  }
};

// Writes the image into a fresh temporary directory and loads it.
inline void load_image(const NetworkImage& image) {
  std::string dir = make_temp_dir();
  std::string path = image.write(dir + "/net.nnue");
  EXPECT_TRUE(load_network(path.c_str()));
  std::filesystem::remove_all(dir);
}

// A random network whose accumulators and hidden sums cover both the clipped
// range and saturation.
inline void load_random_network(uint32_t seed, int featureLimit = 48, int64_t biasLimit = 20000) {
  NetworkImage image;
  image.randomise(seed, featureLimit, biasLimit);
  load_image(image);
}

// The project's own copy of the default network.
#define REQUIRE_REAL_NETWORK() ASSERT_TRUE(load_network(VELTRIX_NET_FILE))
