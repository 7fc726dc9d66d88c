#!/usr/bin/env bash
# Runs the libFuzzer harnesses of a VELTRIX_FUZZ build for a fixed time each, from the
# committed seeds, and fails when one of them finds a fault. Prints the executions
# and the coverage (libFuzzer's cov and ft) each one reached.
#
#   scripts/fuzz.sh <fuzz build dir> <seconds each> [harness...]
#
# JOBS harnesses run side by side (default 2). Inputs found are kept in
# <build dir>/fuzz-runs/<harness>/corpus, so a later run starts where this one
# stopped; a fault leaves its input in <build dir>/fuzz-runs/<harness>/ as crash-*,
# leak-*, timeout-* or oom-*, which the harness replays when given it as argument.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?fuzz build dir}" && pwd)
seconds=${2:?seconds per harness}
shift 2
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for seeds in "$here"/tests/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    [ -x "$build/tests/fuzz/fuzz_$name" ] && harnesses+=("$name")
  done
fi
jobs=${JOBS:-2}

run_one() {
  local name=$1 work="$build/fuzz-runs/$1"
  mkdir -p "$work/corpus"
  # The harnesses write scratch files (board pages, books) into the working directory.
  (cd "$work" && "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$work/" corpus "$here/tests/fuzz/corpus/$name" > log 2>&1)
  local status=$?
  local done_line
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -1)
  if [ $status -eq 0 ]; then
    echo "$name: ${done_line:-no summary}"
  else
    echo "$name: FAILED (status $status), see $work/log"
    grep -E 'ERROR|invariant broken|SUMMARY' "$work/log" | head -5
  fi
  return $status
}

failed=0
running=0
for name in "${harnesses[@]}"; do
  run_one "$name" > "$build/fuzz-runs-$name.out" 2>&1 &
  running=$((running + 1))
  if [ $running -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
for name in "${harnesses[@]}"; do
  cat "$build/fuzz-runs-$name.out"
  rm -f "$build/fuzz-runs-$name.out"
done
exit $failed
