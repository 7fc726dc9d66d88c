// The network's vector path for 128-bit registers on ARM64 (NEON, which every
// ARM64 processor has). The dot-product path (vector_neon_dotprod.cpp) differs
// only in dot4.
#pragma once

#include <arm_neon.h>

#include <bit>
#include <cstdint>

#include "nnue/vector_layers.h"

namespace {
struct Neon {
  // One register type for every lane width; the reinterpretations cost nothing.
  using Vec = int32x4_t;
  static constexpr int Bytes = 16;

  static int8x16_t s8(Vec v) { return vreinterpretq_s8_s32(v); }
  static int16x8_t s16(Vec v) { return vreinterpretq_s16_s32(v); }

  static Vec load(const void* p) { return vld1q_s32(static_cast<const int32_t*>(p)); }
  static void store(void* p, Vec v) { vst1q_s32(static_cast<int32_t*>(p), v); }
  static Vec zero() { return vdupq_n_s32(0); }
  static Vec add16(Vec a, Vec b) { return vreinterpretq_s32_s16(vaddq_s16(s16(a), s16(b))); }
  static Vec sub16(Vec a, Vec b) { return vreinterpretq_s32_s16(vsubq_s16(s16(a), s16(b))); }
  static Vec add32(Vec a, Vec b) { return vaddq_s32(a, b); }
  static Vec broadcast32(int32_t v) { return vdupq_n_s32(v); }

  // Saturating to int8 and then dropping the negatives clamps to 0..127.
  static Vec clipped_bytes(Vec lo, Vec hi) {
    int8x16_t bytes = vcombine_s8(vqmovn_s16(s16(lo)), vqmovn_s16(s16(hi)));
    return vreinterpretq_s32_s8(vmaxq_s8(bytes, vdupq_n_s8(0)));
  }
  static uint32_t nonzero_groups(Vec bytes) {
    const uint32x4_t bit = {1, 2, 4, 8};
    return vaddvq_u32(vandq_u32(vtstq_s32(bytes, bytes), bit));
  }
  // Inputs are at most 127, so signed bytes multiply them as they are; a product
  // lies within -16256..16129 and the sum of two within int16.
  static Vec dot4(Vec sums, Vec inputs, Vec weights) {
    int16x8_t low = vmull_s8(vget_low_s8(s8(inputs)), vget_low_s8(s8(weights)));
    int16x8_t high = vmull_high_s8(s8(inputs), s8(weights));
    return vpadalq_s16(sums, vpaddq_s16(low, high));
  }
  // The narrowing shift saturates (sum >> 6) to int16, the narrowing to unsigned
  // bytes clamps it to 0..255, the minimum to 127.
  static void hidden_bytes(const Vec* sums, uint8_t* out) {
    for (int half = 0; half < 2; ++half) {
      const Vec* s = sums + 4 * half;
      int16x8_t low = vcombine_s16(vqshrn_n_s32(s[0], 6), vqshrn_n_s32(s[1], 6));
      int16x8_t high = vcombine_s16(vqshrn_n_s32(s[2], 6), vqshrn_n_s32(s[3], 6));
      uint8x16_t bytes = vcombine_u8(vqmovun_s16(low), vqmovun_s16(high));
      vst1q_u8(out + 16 * half, vminq_u8(bytes, vdupq_n_u8(127)));
    }
  }

  static int append_groups(unsigned bits, int first, uint16_t* groups, int count) {
    uint16x8_t at = vld1q_u16(BitPositionsOfByte.at[bits]);
    vst1q_u16(groups + count, vaddq_u16(at, vdupq_n_u16(uint16_t(first))));
    return count + std::popcount(bits);
  }
  static int32_t output_sum(const uint8_t* hidden, const int8_t* weights) {
    Vec sums = dot4(zero(), load(hidden), load(weights));
    return vaddvq_s32(dot4(sums, load(hidden + 16), load(weights + 16)));
  }
};
}  // namespace
