// The layers after the accumulator, plainly: the clipped transform to 512 int8
// inputs, two hidden layers of 32 fed only by inputs above zero, and the output.
// This is the reference the vector paths are held to; sums wrap modulo 2^32 like
// the vector additions.
#include <cstdint>

#include "nnue/nnue.h"

namespace {
constexpr int Width = NnueHiddenWidth;

int clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
int saturate16(int32_t v) { return clamp(v, -32768, 32767); }
int32_t wrapping_add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }

// Half 0 of the first layer's input is the side to move's perspective, half 1 the other's.
const int16_t* perspective_row(const NnuePlyData& ply, int side, int half) {
  return ply.accumulator[(side != 0) ^ half];
}

void affine_scalar(const int8_t* input, int inputs, const int16_t* weights, const int32_t* biases, int32_t* sums) {
  for (int i = 0; i < Width; ++i) sums[i] = biases[i];
  for (int j = 0; j < inputs; ++j)
    if (input[j] > 0)
      for (int i = 0; i < Width; ++i) sums[i] = wrapping_add(sums[i], input[j] * weights[j * Width + i]);
}
}  // namespace

int forward_pass_scalar(const NnuePlyData& ply, int side) {
  const NetworkTables& w = NetworkWeights;
  int8_t input[NnueHidden1Inputs];
  for (int half = 0; half < 2; ++half) {
    const int16_t* acc = perspective_row(ply, side, half);
    for (int k = 0; k < NnueHalfWidth; ++k) input[half * NnueHalfWidth + k] = int8_t(clamp(acc[k], -128, 127));
  }
  int32_t sums1[Width], sums2[Width];
  int8_t hidden1[Width];
  affine_scalar(input, NnueHidden1Inputs, w.Hidden1Weights, w.Hidden1Biases, sums1);
  for (int i = 0; i < Width; ++i) hidden1[i] = int8_t(clamp(saturate16(sums1[i]) >> 6, -128, 127));
  affine_scalar(hidden1, Width, w.Hidden2Weights, w.Hidden2Biases, sums2);
  int32_t output = w.OutputBias;
  for (int i = 0; i < Width; ++i)
    output = wrapping_add(output, clamp(saturate16(sums2[i]) >> 6, 0, 127) * w.OutputWeights[i]);
  return output / 16;
}
