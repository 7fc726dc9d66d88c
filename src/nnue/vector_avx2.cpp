// The network's vector path for 256-bit registers (AVX2).
#if defined(__AVX2__)

#include "nnue/vector_x86.h"

namespace {
struct Avx2 : X86Lanes {
  using Vec = __m256i;
  static constexpr int Bytes = 32;

  static Vec load(const void* p) { return _mm256_load_si256(static_cast<const Vec*>(p)); }
  static void store(void* p, Vec v) { _mm256_store_si256(static_cast<Vec*>(p), v); }
  static Vec zero() { return _mm256_setzero_si256(); }
  static Vec add16(Vec a, Vec b) { return _mm256_add_epi16(a, b); }
  static Vec sub16(Vec a, Vec b) { return _mm256_sub_epi16(a, b); }
  static Vec add32(Vec a, Vec b) { return _mm256_add_epi32(a, b); }
  static Vec broadcast32(int32_t v) { return _mm256_set1_epi32(v); }

  // Packing works within each 128-bit half; the permutation puts the halves in order.
  static Vec clipped_bytes(Vec lo, Vec hi) {
    Vec bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
    return _mm256_min_epu8(bytes, _mm256_set1_epi8(127));
  }
  static uint32_t nonzero_groups(Vec bytes) {
    return uint32_t(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(bytes, zero()))));
  }
  // With inputs of at most 127, a pair of int8 products stays within int16.
  static Vec dot4(Vec sums, Vec inputs, Vec weights) {
    return _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_maddubs_epi16(inputs, weights), _mm256_set1_epi16(1)));
  }
  // The two packs leave the outputs as 0-3, 8-11, 16-19, 24-27, 4-7, ... in 32-bit units.
  static void hidden_bytes(const Vec* sums, uint8_t* out) {
    Vec low = _mm256_packs_epi32(_mm256_srai_epi32(sums[0], 6), _mm256_srai_epi32(sums[1], 6));
    Vec high = _mm256_packs_epi32(_mm256_srai_epi32(sums[2], 6), _mm256_srai_epi32(sums[3], 6));
    Vec bytes = _mm256_min_epu8(_mm256_packus_epi16(low, high), _mm256_set1_epi8(127));
    store(out, _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
  }
};
}  // namespace

int forward_pass_avx2(const NnuePlyData& ply, int side) { return vector_forward_pass<Avx2>(ply, side); }

void add_feature_rows_avx2(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
  vector_add_feature_rows<Avx2>(out, base, removed, added);
}

#endif
