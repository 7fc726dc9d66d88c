// What the x86 vector paths share: the two operations of the vector code that
// work on 128 bits whatever the register width, in SSE4.1, which every x86 path
// has (see vector_layers.h).
#pragma once

#include <immintrin.h>

#include <bit>
#include <cstdint>

#include "nnue/vector_layers.h"

namespace {
struct X86Lanes {
  static int append_groups(unsigned bits, int first, uint16_t* groups, int count) {
    __m128i at = _mm_load_si128(reinterpret_cast<const __m128i*>(BitPositionsOfByte.at[bits]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(groups + count), _mm_add_epi16(at, _mm_set1_epi16(short(first))));
    return count + std::popcount(bits);
  }

  // Products of two pairs stay within int16, so maddubs is exact here.
  static int32_t output_sum(const uint8_t* hidden, const int8_t* weights) {
    const __m128i ones = _mm_set1_epi16(1);
    __m128i low = _mm_madd_epi16(_mm_maddubs_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(hidden)),
                                                   _mm_load_si128(reinterpret_cast<const __m128i*>(weights))),
                                 ones);
    __m128i high = _mm_madd_epi16(_mm_maddubs_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(hidden + 16)),
                                                    _mm_load_si128(reinterpret_cast<const __m128i*>(weights + 16))),
                                  ones);
    __m128i sum = _mm_add_epi32(low, high);
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0x4E));
    sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, 0xB1));
    return _mm_cvtsi128_si32(sum);
  }
};
}  // namespace
