// The network loader on any file. Mode byte even: the rest of the input is the whole
// file (short files of any kind). Mode byte odd: a file of the right size built here
// at start-up (valid check words, pseudo-random weights) is changed by the input's
// patches (4-byte offset, length byte, bytes) and its length by -2..+2 bytes, so the
// 21 MB seed never needs to be stored. A file is accepted exactly when its size and
// five check words are right; an accepted file fills every table from its bytes,
// a refused one leaves the tables as they were.
#include <sys/stat.h>

#include <memory>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "nnue/nnue.h"

namespace {

// Where the parts of the file start.
constexpr size_t TransformerHashAt = 189, FeatureBiasesAt = 193, FeatureWeightsAt = 705;
constexpr size_t LayerStackHashAt = 21004993, Hidden1BiasesAt = 21004997, Hidden1WeightsAt = 21005125;
constexpr size_t Hidden2BiasesAt = 21021509, Hidden2WeightsAt = 21021637, OutputBiasAt = 21022661;
constexpr size_t OutputWeightsAt = 21022665;

ScratchFile* ShortNet;
ScratchFile* Net;            // always the image between runs
std::vector<uint8_t> Image;  // the valid file, as the scratch file holds it between runs

uint32_t u32_at(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
int16_t i16_at(const std::vector<uint8_t>& b, size_t at) { return int16_t(uint16_t(b[at] | b[at + 1] << 8)); }

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; i++) b[at + i] = uint8_t(v >> (8 * i));
}

bool accepted(const std::vector<uint8_t>& b) {
  return b.size() == NnueFileSize && u32_at(b, 0) == 0x7AF32F16 && u32_at(b, 4) == 0x3E5AA6EE && u32_at(b, 8) == 177 &&
         u32_at(b, TransformerHashAt) == 0x5D69D7B8 && u32_at(b, LayerStackHashAt) == 0x63337156;
}

void build_image() {
  Image.resize(NnueFileSize);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  for (uint8_t& byte : Image) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    byte = uint8_t(state >> 56);
  }
  put32(Image, 0, 0x7AF32F16);
  put32(Image, 4, 0x3E5AA6EE);
  put32(Image, 8, 177);
  put32(Image, TransformerHashAt, 0x5D69D7B8);
  put32(Image, LayerStackHashAt, 0x63337156);
}

// The tables hold the file's values: the small tables whole, the feature weights at
// the given file offsets and at a spread of others.
void check_tables(const std::vector<uint8_t>& b, const std::vector<size_t>& touched) {
  const NetworkTables& w = NetworkWeights;
  for (int k = 0; k < NnueHalfWidth; k++)
    FUZZ_CHECK(w.FeatureBiases[k] == i16_at(b, FeatureBiasesAt + 2 * k), "feature bias differs from the file");
  for (int i = 0; i < NnueHiddenWidth; i++) {
    FUZZ_CHECK(w.Hidden1Biases[i] == int32_t(u32_at(b, Hidden1BiasesAt + 4 * i)), "hidden-1 bias differs");
    FUZZ_CHECK(w.Hidden2Biases[i] == int32_t(u32_at(b, Hidden2BiasesAt + 4 * i)), "hidden-2 bias differs");
    FUZZ_CHECK(w.OutputWeights[i] == int8_t(b[OutputWeightsAt + i]), "output weight differs");
    for (int j = 0; j < NnueHidden1Inputs; j++)
      FUZZ_CHECK(w.Hidden1Weights[j * NnueHiddenWidth + i] == int8_t(b[Hidden1WeightsAt + i * NnueHidden1Inputs + j]),
                 "hidden-1 weight not transposed from the file");
    for (int j = 0; j < NnueHiddenWidth; j++)
      FUZZ_CHECK(w.Hidden2Weights[j * NnueHiddenWidth + i] == int8_t(b[Hidden2WeightsAt + i * NnueHiddenWidth + j]),
                 "hidden-2 weight not transposed from the file");
  }
  FUZZ_CHECK(w.OutputBias == int32_t(u32_at(b, OutputBiasAt)), "output bias differs");
  std::vector<size_t> offsets = touched;
  for (size_t k = 0; k < 64; k++)
    offsets.push_back(FeatureWeightsAt + (k * 328183 % (LayerStackHashAt - FeatureWeightsAt)));
  for (size_t at : offsets) {
    if (at < FeatureWeightsAt || at >= LayerStackHashAt) continue;
    size_t k = (at - FeatureWeightsAt) / 2;
    FUZZ_CHECK(w.FeatureWeights[k] == i16_at(b, FeatureWeightsAt + 2 * k), "feature weight differs from the file");
  }
}

// The file as the scratch file should hold it for this run, and the offsets changed.
std::pair<std::vector<uint8_t>, std::vector<size_t>> patched_image(FuzzInput& in) {
  std::vector<uint8_t> bytes = Image;
  std::vector<size_t> touched;
  const int sizeChange = int(in.byte() % 5) - 2;
  while (in.size >= 5) {
    size_t at = in.u32() % NnueFileSize;
    size_t length = in.byte() % 16;
    for (size_t i = 0; i < length && in.size && at + i < bytes.size(); i++) {
      bytes[at + i] = in.byte();
      touched.push_back(at + i);
    }
  }
  bytes.resize(size_t(int64_t(NnueFileSize) + sizeChange), 0xA5);
  return {std::move(bytes), std::move(touched)};
}

// Writes only what differs from the image, so a run costs a few small writes.
void write_patched(const std::vector<uint8_t>& bytes, const std::vector<size_t>& touched) {
  FILE* f = fopen(Net->path.c_str(), "r+b");
  FUZZ_CHECK(f, "cannot open the scratch network");
  for (size_t at : touched) {
    fseek(f, long(at), SEEK_SET);
    fputc(bytes[at], f);
  }
  fclose(f);
  FUZZ_CHECK(truncate(Net->path.c_str(), off_t(bytes.size())) == 0, "cannot size the scratch network");
  if (bytes.size() > NnueFileSize) {
    f = fopen(Net->path.c_str(), "r+b");
    fseek(f, long(NnueFileSize), SEEK_SET);
    fwrite(bytes.data() + NnueFileSize, 1, bytes.size() - NnueFileSize, f);
    fclose(f);
  }
}

// The image back in the scratch file, its last bytes included in case the run cut them.
void restore_image(const std::vector<size_t>& touched) {
  FUZZ_CHECK(truncate(Net->path.c_str(), off_t(NnueFileSize)) == 0, "cannot size the scratch network");
  FILE* f = fopen(Net->path.c_str(), "r+b");
  for (size_t at : touched) {
    fseek(f, long(at), SEEK_SET);
    fputc(Image[at], f);
  }
  fseek(f, long(NnueFileSize - 2), SEEK_SET);
  fwrite(Image.data() + NnueFileSize - 2, 1, 2, f);
  fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  silence_stdout();
  build_image();
  ShortNet = new ScratchFile("short.nnue");
  Net = new ScratchFile("net.nnue");
  Net->write(Image.data(), Image.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  const bool fullSize = in.byte() & 1;
  std::vector<uint8_t> bytes;
  std::vector<size_t> touched;
  if (fullSize) {
    std::tie(bytes, touched) = patched_image(in);
    write_patched(bytes, touched);
  } else {
    bytes.assign(in.data, in.data + in.size);
    ShortNet->write(bytes.data(), bytes.size());
  }
  // What an earlier load left in the tables, for a refused file to leave alone.
  const std::vector<uint8_t> earlier(reinterpret_cast<const uint8_t*>(&NetworkWeights.Hidden1Biases),
                                     reinterpret_cast<const uint8_t*>(&NetworkWeights + 1));
  const int16_t firstWeight = NetworkWeights.FeatureWeights[0];
  const bool loaded = load_network((fullSize ? Net : ShortNet)->path.c_str());
  FUZZ_CHECK(loaded == accepted(bytes), "the loader's verdict differs from the file's check words and size");
  if (loaded) {
    check_tables(bytes, touched);
  } else {
    FUZZ_CHECK(
        std::equal(earlier.begin(), earlier.end(), reinterpret_cast<const uint8_t*>(&NetworkWeights.Hidden1Biases)),
        "a refused file changed the tables");
    FUZZ_CHECK(NetworkWeights.FeatureWeights[0] == firstWeight, "a refused file changed the feature weights");
  }
  if (fullSize) restore_image(touched);
  return 0;
}
