// The network's vector path for 512-bit registers (AVX-512 BW and VL), with the
// byte dot product of VNNI when the build has it.
#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__)

#include "nnue/vector_x86.h"

// GCC 12 mistakes the registers its own AVX-512 intrinsics leave undefined on
// purpose for uninitialised variables.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {
struct Avx512 : X86Lanes {
  using Vec = __m512i;
  static constexpr int Bytes = 64;

  static Vec load(const void* p) { return _mm512_load_si512(p); }
  static void store(void* p, Vec v) { _mm512_store_si512(p, v); }
  static Vec zero() { return _mm512_setzero_si512(); }
  static Vec add16(Vec a, Vec b) { return _mm512_add_epi16(a, b); }
  static Vec sub16(Vec a, Vec b) { return _mm512_sub_epi16(a, b); }
  static Vec add32(Vec a, Vec b) { return _mm512_add_epi32(a, b); }
  static Vec broadcast32(int32_t v) { return _mm512_set1_epi32(v); }

  // Packing works within each 128-bit quarter; the permutation puts them in order.
  static Vec clipped_bytes(Vec lo, Vec hi) {
    Vec bytes = _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7), _mm512_packus_epi16(lo, hi));
    return _mm512_min_epu8(bytes, _mm512_set1_epi8(127));
  }
  static uint32_t nonzero_groups(Vec bytes) { return _mm512_test_epi32_mask(bytes, bytes); }
  static Vec dot4(Vec sums, Vec inputs, Vec weights) {
#if defined(__AVX512VNNI__)
    return _mm512_dpbusd_epi32(sums, inputs, weights);
#else
    return _mm512_add_epi32(sums, _mm512_madd_epi16(_mm512_maddubs_epi16(inputs, weights), _mm512_set1_epi16(1)));
#endif
  }
  static void hidden_bytes(const Vec* sums, uint8_t* out) {
    for (int half = 0; half < 2; ++half) {
      Vec v = _mm512_min_epi32(_mm512_max_epi32(_mm512_srai_epi32(sums[half], 6), zero()), _mm512_set1_epi32(127));
      _mm_store_si128(reinterpret_cast<__m128i*>(out + 16 * half), _mm512_cvtepi32_epi8(v));
    }
  }
};
}  // namespace

int forward_pass_avx512(const NnuePlyData& ply, int side) { return vector_forward_pass<Avx512>(ply, side); }

void add_feature_rows_avx512(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
  vector_add_feature_rows<Avx512>(out, base, removed, added);
}

#if defined(__AVX512VNNI__)
extern const bool Avx512PathUsesVnni = true;
#else
extern const bool Avx512PathUsesVnni = false;
#endif

#endif
