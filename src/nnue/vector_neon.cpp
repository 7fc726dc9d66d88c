// The network's vector path for ARM64 (NEON).
#if defined(__aarch64__)

#include "nnue/vector_neon.h"

int forward_pass_neon(const NnuePlyData& ply, int side) { return vector_forward_pass<Neon>(ply, side); }

void add_feature_rows_neon(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
  vector_add_feature_rows<Neon>(out, base, removed, added);
}

#endif
