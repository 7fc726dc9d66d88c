// Which path evaluates: the widest one the build targets, chosen when compiling,
// so that the engine makes no test of the processor at run time.
#include "nnue/nnue.h"

#if defined(__x86_64__) || defined(__i386__)
#define VELTRIX_X86 1
#endif
#if defined(__aarch64__) && defined(__linux__)
#include <sys/auxv.h>
#endif

int forward_pass(const NnuePlyData& ply, int side) {
#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__)
  return forward_pass_avx512(ply, side);
#elif defined(__AVX2__)
  return forward_pass_avx2(ply, side);
#elif defined(__SSE4_1__)
  return forward_pass_sse41(ply, side);
#elif defined(__ARM_FEATURE_DOTPROD) && defined(__aarch64__)
  return forward_pass_neon_dotprod(ply, side);
#elif defined(__aarch64__)
  return forward_pass_neon(ply, side);
#else
  return forward_pass_scalar(ply, side);
#endif
}

void add_feature_rows(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__)
  add_feature_rows_avx512(out, base, removed, added);
#elif defined(__AVX2__)
  add_feature_rows_avx2(out, base, removed, added);
#elif defined(__SSE4_1__)
  add_feature_rows_sse41(out, base, removed, added);
#elif defined(__aarch64__)
  add_feature_rows_neon(out, base, removed, added);
#else
  add_feature_rows_scalar(out, base, removed, added);
#endif
}

#if defined(__aarch64__)
namespace {
// NEON is part of every ARM64 processor; the dot-product instructions are not.
bool runs_dot_product() {
#if defined(__linux__) && defined(HWCAP_ASIMDDP)
  return (getauxval(AT_HWCAP) & HWCAP_ASIMDDP) != 0;
#elif defined(__ARM_FEATURE_DOTPROD)
  return true;  // no way to ask: a build for them runs where they are
#else
  return false;
#endif
}
}  // namespace
#endif

NetworkPaths network_paths() {
  static const NetworkPath paths[] = {
    {"scalar", true, forward_pass_scalar, add_feature_rows_scalar},
#if VELTRIX_X86
    {"sse41", __builtin_cpu_supports("sse4.1") != 0, forward_pass_sse41, add_feature_rows_sse41},
    {"avx2", __builtin_cpu_supports("avx2") != 0, forward_pass_avx2, add_feature_rows_avx2},
    {Avx512PathUsesVnni ? "avx512vnni" : "avx512",
     __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
         (!Avx512PathUsesVnni || __builtin_cpu_supports("avx512vnni")),
     forward_pass_avx512, add_feature_rows_avx512},
#endif
#if defined(__aarch64__)
    {"neon", true, forward_pass_neon, add_feature_rows_neon},
    {"neon-dotprod", runs_dot_product(), forward_pass_neon_dotprod, add_feature_rows_neon},
#endif
  };
  return {paths, int(sizeof paths / sizeof paths[0])};
}
