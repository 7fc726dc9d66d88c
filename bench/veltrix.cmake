# Evaluations per second of veltrix's network: full refresh, incremental update,
# and each forward-pass variant on its own.
vx_bench(bench_nnue nnue_bench.cpp vx_nnue benchmark::benchmark)
if(TARGET bench_nnue)
  target_compile_definitions(bench_nnue PRIVATE VELTRIX_NET_FILE="${VELTRIX_NET_FILE}")
endif()

# Evaluations per second of veltrix's fallback evaluation; the search's own speed
# is measured by "veltrix bench" (nodes per second, full refresh or incremental).
vx_bench(bench_veltrix_eval veltrix_eval_bench.cpp vx_veltrix)
