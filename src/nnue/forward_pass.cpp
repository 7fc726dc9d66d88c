// The layers after the accumulator: the clipped transform to 512 int8 inputs, two
// sparse hidden layers of 32 and the output. Only inputs above zero feed a layer,
// so the vector variants walk the set bits of a mask and add whole weight rows,
// two inputs at a time; the sums are exact integers, so every variant agrees with
// the scalar one bit for bit. Sums wrap modulo 2^32 like the vector additions.
#include <cstdint>

#if defined(__SSE4_1__)
#include <immintrin.h>
#endif

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

#if defined(__SSE4_1__)

namespace {
// The positions of the set bits, lowest first.
int set_bits(const uint64_t* mask, int words, uint16_t* positions) {
  int n = 0;
  for (int word = 0; word < words; ++word)
    for (uint64_t bits = mask[word]; bits; bits &= bits - 1)
      positions[n++] = uint16_t(64 * word + __builtin_ctzll(bits));
  return n;
}

// Two int8 inputs as one 32-bit multiplier: the first in the low half.
int32_t pair_factor(const int8_t* input, int first, int second) {
  uint32_t high = second < 0 ? 0 : uint16_t(int16_t(input[second]));
  return int32_t(uint16_t(int16_t(input[first])) | high << 16);
}

alignas(64) const int16_t ZeroRow[Width] = {};

const int16_t* row_of(const int16_t* weights, int input) { return input < 0 ? ZeroRow : weights + input * Width; }

// ----- 128-bit registers: 32 sums in 8 registers, output i in register i / 4.

using V128 = __m128i;

V128 load128(const void* p) { return _mm_load_si128(static_cast<const V128*>(p)); }

void affine_sse41(const int8_t* input, const uint16_t* active, int count, const int16_t* weights, const int32_t* biases,
                  V128 sums[8]) {
  for (int r = 0; r < 8; ++r) sums[r] = load128(biases + 4 * r);
  for (int k = 0; k < count; k += 2) {
    int first = active[k], second = k + 1 < count ? active[k + 1] : -1;
    V128 factor = _mm_set1_epi32(pair_factor(input, first, second));
    const int16_t* a = row_of(weights, first);
    const int16_t* b = row_of(weights, second);
    for (int q = 0; q < 4; ++q) {
      V128 wa = load128(a + 8 * q), wb = load128(b + 8 * q);
      sums[2 * q] = _mm_add_epi32(sums[2 * q], _mm_madd_epi16(_mm_unpacklo_epi16(wa, wb), factor));
      sums[2 * q + 1] = _mm_add_epi32(sums[2 * q + 1], _mm_madd_epi16(_mm_unpackhi_epi16(wa, wb), factor));
    }
  }
}

// Eight sums to int16, saturated and scaled down by 64.
V128 scale_down(V128 lo, V128 hi) { return _mm_srai_epi16(_mm_packs_epi32(lo, hi), 6); }

uint32_t positive_mask(V128 bytes) { return uint32_t(_mm_movemask_epi8(_mm_cmpgt_epi8(bytes, _mm_setzero_si128()))); }
}  // namespace

int forward_pass_sse41(const NnuePlyData& ply, int side) {
  const NetworkTables& w = NetworkWeights;
  alignas(64) int8_t input[NnueHidden1Inputs];
  alignas(64) int8_t hidden1[Width];
  uint64_t inputMask[NnueHidden1Inputs / 64] = {};
  uint16_t active[NnueHidden1Inputs];

  for (int half = 0; half < 2; ++half) {
    const int16_t* acc = perspective_row(ply, side, half);
    for (int k = 0; k < NnueHalfWidth; k += 16) {
      V128 bytes = _mm_packs_epi16(load128(acc + k), load128(acc + k + 8));
      int at = half * NnueHalfWidth + k;
      _mm_store_si128(reinterpret_cast<V128*>(input + at), bytes);
      inputMask[at / 64] |= uint64_t(positive_mask(bytes)) << (at % 64);
    }
  }

  V128 sums[8];
  affine_sse41(input, active, set_bits(inputMask, 8, active), w.Hidden1Weights, w.Hidden1Biases, sums);
  V128 low = _mm_packs_epi16(scale_down(sums[0], sums[1]), scale_down(sums[2], sums[3]));
  V128 high = _mm_packs_epi16(scale_down(sums[4], sums[5]), scale_down(sums[6], sums[7]));
  _mm_store_si128(reinterpret_cast<V128*>(hidden1), low);
  _mm_store_si128(reinterpret_cast<V128*>(hidden1 + 16), high);
  uint64_t hiddenMask = positive_mask(low) | positive_mask(high) << 16;

  affine_sse41(hidden1, active, set_bits(&hiddenMask, 1, active), w.Hidden2Weights, w.Hidden2Biases, sums);
  V128 total = _mm_setzero_si128();
  for (int q = 0; q < 4; ++q) {
    V128 h2 = scale_down(sums[2 * q], sums[2 * q + 1]);
    h2 = _mm_min_epi16(_mm_max_epi16(h2, _mm_setzero_si128()), _mm_set1_epi16(127));
    total = _mm_add_epi32(total, _mm_madd_epi16(h2, load128(w.OutputWeights + 8 * q)));
  }
  total = _mm_add_epi32(total, _mm_shuffle_epi32(total, 0x4E));
  total = _mm_add_epi32(total, _mm_shuffle_epi32(total, 0xB1));
  return wrapping_add(_mm_extract_epi32(total, 0), w.OutputBias) / 16;
}

#endif  // __SSE4_1__

#if defined(__AVX2__)

namespace {
// ----- 256-bit registers. The unpack, pack and multiply-add instructions work
// within each 128-bit half, so the sums sit in the order
// [0-3 | 8-11], [4-7 | 12-15], [16-19 | 24-27], [20-23 | 28-31]; packing the
// pairs to int16 puts them back in order.

using V256 = __m256i;

V256 load256(const void* p) { return _mm256_load_si256(static_cast<const V256*>(p)); }

void affine_avx2(const int8_t* input, const uint16_t* active, int count, const int16_t* weights, const int32_t* biases,
                 V256 sums[4]) {
  for (int g = 0; g < 2; ++g) {
    V256 first = load256(biases + 16 * g), second = load256(biases + 16 * g + 8);
    sums[2 * g] = _mm256_permute2x128_si256(first, second, 0x20);
    sums[2 * g + 1] = _mm256_permute2x128_si256(first, second, 0x31);
  }
  for (int k = 0; k < count; k += 2) {
    int first = active[k], second = k + 1 < count ? active[k + 1] : -1;
    V256 factor = _mm256_set1_epi32(pair_factor(input, first, second));
    const int16_t* a = row_of(weights, first);
    const int16_t* b = row_of(weights, second);
    for (int g = 0; g < 2; ++g) {
      V256 wa = load256(a + 16 * g), wb = load256(b + 16 * g);
      sums[2 * g] = _mm256_add_epi32(sums[2 * g], _mm256_madd_epi16(_mm256_unpacklo_epi16(wa, wb), factor));
      sums[2 * g + 1] = _mm256_add_epi32(sums[2 * g + 1], _mm256_madd_epi16(_mm256_unpackhi_epi16(wa, wb), factor));
    }
  }
}

V256 scale_down(V256 lo, V256 hi) { return _mm256_srai_epi16(_mm256_packs_epi32(lo, hi), 6); }

// Packing two registers of int16 to int8 interleaves their halves; this undoes it.
V256 pack_in_order(V256 lo, V256 hi) { return _mm256_permute4x64_epi64(_mm256_packs_epi16(lo, hi), 0xD8); }

uint32_t positive_mask(V256 bytes) {
  return uint32_t(_mm256_movemask_epi8(_mm256_cmpgt_epi8(bytes, _mm256_setzero_si256())));
}
}  // namespace

int forward_pass_avx2(const NnuePlyData& ply, int side) {
  const NetworkTables& w = NetworkWeights;
  alignas(64) int8_t input[NnueHidden1Inputs];
  alignas(64) int8_t hidden1[Width];
  uint64_t inputMask[NnueHidden1Inputs / 64] = {};
  uint16_t active[NnueHidden1Inputs];

  for (int half = 0; half < 2; ++half) {
    const int16_t* acc = perspective_row(ply, side, half);
    for (int k = 0; k < NnueHalfWidth; k += 32) {
      V256 bytes = pack_in_order(load256(acc + k), load256(acc + k + 16));
      int at = half * NnueHalfWidth + k;
      _mm256_store_si256(reinterpret_cast<V256*>(input + at), bytes);
      inputMask[at / 64] |= uint64_t(positive_mask(bytes)) << (at % 64);
    }
  }

  V256 sums[4];
  affine_avx2(input, active, set_bits(inputMask, 8, active), w.Hidden1Weights, w.Hidden1Biases, sums);
  V256 bytes = pack_in_order(scale_down(sums[0], sums[1]), scale_down(sums[2], sums[3]));
  _mm256_store_si256(reinterpret_cast<V256*>(hidden1), bytes);
  uint64_t hiddenMask = positive_mask(bytes);

  affine_avx2(hidden1, active, set_bits(&hiddenMask, 1, active), w.Hidden2Weights, w.Hidden2Biases, sums);
  V256 total = _mm256_setzero_si256();
  for (int g = 0; g < 2; ++g) {
    V256 h2 = scale_down(sums[2 * g], sums[2 * g + 1]);
    h2 = _mm256_min_epi16(_mm256_max_epi16(h2, _mm256_setzero_si256()), _mm256_set1_epi16(127));
    total = _mm256_add_epi32(total, _mm256_madd_epi16(h2, load256(w.OutputWeights + 16 * g)));
  }
  V128 sum = _mm_add_epi32(_mm256_castsi256_si128(total), _mm256_extracti128_si256(total, 1));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0x4E));
  sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0xB1));
  return wrapping_add(_mm_cvtsi128_si32(sum), w.OutputBias) / 16;
}

#endif  // __AVX2__

int forward_pass(const NnuePlyData& ply, int side) {
#if defined(__AVX2__)
  return forward_pass_avx2(ply, side);
#elif defined(__SSE4_1__)
  return forward_pass_sse41(ply, side);
#else
  return forward_pass_scalar(ply, side);
#endif
}
