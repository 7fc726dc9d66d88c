// The network's vector path for 128-bit registers (SSE4.1).
#if defined(__SSE4_1__)

#include "nnue/vector_x86.h"

namespace {
struct Sse41 : X86Lanes {
  using Vec = __m128i;
  static constexpr int Bytes = 16;

  static Vec load(const void* p) { return _mm_load_si128(static_cast<const Vec*>(p)); }
  static void store(void* p, Vec v) { _mm_store_si128(static_cast<Vec*>(p), v); }
  static Vec zero() { return _mm_setzero_si128(); }
  static Vec add16(Vec a, Vec b) { return _mm_add_epi16(a, b); }
  static Vec sub16(Vec a, Vec b) { return _mm_sub_epi16(a, b); }
  static Vec add32(Vec a, Vec b) { return _mm_add_epi32(a, b); }
  static Vec broadcast32(int32_t v) { return _mm_set1_epi32(v); }

  static Vec clipped_bytes(Vec lo, Vec hi) { return _mm_min_epu8(_mm_packus_epi16(lo, hi), _mm_set1_epi8(127)); }
  // Bytes are at most 127, so a group that is not zero is a positive int32.
  static uint32_t nonzero_groups(Vec bytes) {
    return uint32_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(bytes, zero()))));
  }
  // With inputs of at most 127, a pair of int8 products stays within int16.
  static Vec dot4(Vec sums, Vec inputs, Vec weights) {
    return _mm_add_epi32(sums, _mm_madd_epi16(_mm_maddubs_epi16(inputs, weights), _mm_set1_epi16(1)));
  }
  static void hidden_bytes(const Vec* sums, uint8_t* out) {
    for (int half = 0; half < 2; ++half) {
      const Vec* s = sums + 4 * half;
      Vec low = _mm_packs_epi32(_mm_srai_epi32(s[0], 6), _mm_srai_epi32(s[1], 6));
      Vec high = _mm_packs_epi32(_mm_srai_epi32(s[2], 6), _mm_srai_epi32(s[3], 6));
      store(out + 16 * half, _mm_min_epu8(_mm_packus_epi16(low, high), _mm_set1_epi8(127)));
    }
  }
};
}  // namespace

int forward_pass_sse41(const NnuePlyData& ply, int side) { return vector_forward_pass<Sse41>(ply, side); }

void add_feature_rows_sse41(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
  vector_add_feature_rows<Sse41>(out, base, removed, added);
}

#endif
