// Which path evaluates: the widest one the build targets, chosen when compiling,
// so that the engine makes no test of the processor at run time.
#include "nnue/nnue.h"

#if defined(__x86_64__) || defined(__i386__)
#define VELTRIX_X86 1
#endif

int forward_pass(const NnuePlyData& ply, int side) {
#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__)
  return forward_pass_avx512(ply, side);
#elif defined(__AVX2__)
  return forward_pass_avx2(ply, side);
#elif defined(__SSE4_1__)
  return forward_pass_sse41(ply, side);
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
#else
  add_feature_rows_scalar(out, base, removed, added);
#endif
}

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
  };
  return {paths, int(sizeof paths / sizeof paths[0])};
}
