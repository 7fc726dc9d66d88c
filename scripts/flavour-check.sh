#!/usr/bin/env bash
# Builds both programs for each release flavour of VELTRIX_ARCH and checks that
# every flavour searches the same trees as the native build: equal bench
# signatures of veltrix-classic, veltrix with its network and veltrix's fallback
# evaluation. A flavour this processor cannot run is only built.
#
#   scripts/flavour-check.sh [native build folder] [flavours...]
#                            (default: build, and all four release flavours)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
native=$(readlink -f "${1:-$here/build}")
shift || true
flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(x86-64-avx512 x86-64-avx2 x86-64-sse41 x86-64)

# The processor flags each flavour needs, as /proc/cpuinfo names them.
declare -A needs=([x86-64-avx512]="avx512f avx512bw avx512cd avx512dq avx512vl" [x86-64-avx2]="avx2 bmi2 fma movbe"
  [x86-64-sse41]="sse4_2 popcnt ssse3 cx16" [x86-64]="")
runnable() {
  local flag
  for flag in ${needs[$1]}; do grep -q -w "$flag" /proc/cpuinfo || return 1; done
}

# The three signatures of the programs in folder $1, run in an empty folder so
# that veltrix uses its built-in network.
signatures() {
  local dir
  dir=$(mktemp -d)
  (
    cd "$dir"
    echo "veltrix-classic $("$1/veltrix-classic" bench 2>&1 | grep -a -E '^nodes' | tr -dc '0-9')"
    echo "veltrix $("$1/veltrix" bench 2>&1 | grep -a 'Nodes searched' | tr -dc '0-9')"
    echo "veltrix-fallback $("$1/veltrix" bench fallback 2>&1 | grep -a 'Nodes searched' | tr -dc '0-9')"
  )
  rm -rf "$dir"
}

expected=$(signatures "$native")
echo "native: $(echo $expected)"
failures=0
for flavour in "${flavours[@]}"; do
  build="$native-$flavour"
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRIX_ARCH="$flavour" \
    -DVELTRIX_TESTS=OFF -DVELTRIX_BENCHMARKS=OFF > /dev/null
  cmake --build "$build" --target veltrix-classic veltrix > /dev/null
  if ! runnable "$flavour"; then
    echo "built only: $flavour (this processor lacks ${needs[$flavour]})"
    continue
  fi
  got=$(signatures "$build")
  if [ "$got" = "$expected" ]; then
    echo "ok: $flavour: $(echo $got)"
  else
    echo "FAILED: $flavour: $(echo $got)"
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ]
