// The network's vector path for ARM64 processors with the dot-product
// instructions (ARMv8.2 and later, optional there; ARMv8.4 and later have them):
// four byte products added into each int32 lane by one instruction. The
// accumulator's row arithmetic has no products and stays the NEON path's.
#if defined(__ARM_FEATURE_DOTPROD) && defined(__aarch64__)

#include "nnue/vector_neon.h"

namespace {
struct NeonDotProd : Neon {
  // Inputs are at most 127, so the signed dot product multiplies them as they are.
  static Vec dot4(Vec sums, Vec inputs, Vec weights) { return vdotq_s32(sums, s8(inputs), s8(weights)); }
};
}  // namespace

int forward_pass_neon_dotprod(const NnuePlyData& ply, int side) { return vector_forward_pass<NeonDotProd>(ply, side); }

#endif
