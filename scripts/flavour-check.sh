#!/usr/bin/env bash
# Builds both programs for each release flavour of VELTRIX_ARCH and checks that
# every flavour searches the same trees as the native build: equal bench
# signatures of veltrix-classic, veltrix with its network and veltrix's fallback
# evaluation. A flavour this processor cannot run is only built. The ARM64
# flavours are cross-built and run under qemu-aarch64, which offers every
# optional instruction; there only veltrix is built and compared, since the
# flavours differ in the network's dot products and an emulated classic bench
# takes a minute (scripts/arm64-check.sh compares it for the armv8 build).
#
#   scripts/flavour-check.sh [native build folder] [flavours...]
#                            (default: build, and the four x86-64 release flavours)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
native=$(readlink -f "${1:-$here/build}")
shift || true
flavours=("$@")
[ ${#flavours[@]} -gt 0 ] || flavours=(x86-64-avx512 x86-64-avx2 x86-64-sse41 x86-64)

# The processor flags each x86-64 flavour needs, as /proc/cpuinfo names them.
declare -A needs=([x86-64-avx512]="avx512f avx512bw avx512cd avx512dq avx512vl" [x86-64-avx2]="avx2 bmi2 fma movbe"
  [x86-64-sse41]="sse4_2 popcnt ssse3 cx16" [x86-64]="")
runnable() {
  local flag
  for flag in ${needs[$1]:-}; do grep -q -w "$flag" /proc/cpuinfo || return 1; done
}
arm64_runner=(qemu-aarch64 -cpu max -L /usr/aarch64-linux-gnu)

# The three signatures of the programs in folder $1, run by the command after it
# in an empty folder, so that veltrix uses its built-in network.
signatures() {  # folder, runner...
  local build=$1 dir
  shift
  dir=$(mktemp -d)
  (
    cd "$dir"
    if [ -x "$build/veltrix-classic" ]; then
      echo "veltrix-classic $("$@" "$build/veltrix-classic" bench 2>&1 | grep -a -E '^nodes' | tr -dc '0-9')"
    fi
    echo "veltrix $("$@" "$build/veltrix" bench 2>&1 | grep -a 'Nodes searched' | tr -dc '0-9')"
    echo "veltrix-fallback $("$@" "$build/veltrix" bench fallback 2>&1 | grep -a 'Nodes searched' | tr -dc '0-9')"
  )
  rm -rf "$dir"
}

expected=$(signatures "$native")
echo "native: $(echo $expected)"
failures=0
for flavour in "${flavours[@]}"; do
  build="$native-$flavour"
  options=(-DCMAKE_BUILD_TYPE=Release -DVELTRIX_ARCH="$flavour" -DVELTRIX_TESTS=OFF -DVELTRIX_BENCHMARKS=OFF)
  programs=(veltrix-classic veltrix)
  runner=()
  if [[ $flavour == armv8* ]]; then
    options+=(-DCMAKE_TOOLCHAIN_FILE="$here/cmake/aarch64-linux-gnu.cmake")
    programs=(veltrix)
    runner=("${arm64_runner[@]}")
  fi
  cmake -S "$here" -B "$build" -G Ninja "${options[@]}" > /dev/null
  cmake --build "$build" --target "${programs[@]}" > /dev/null
  if [[ $flavour == armv8* ]] && ! command -v qemu-aarch64 > /dev/null; then
    echo "built only: $flavour (qemu-aarch64 is missing)"
    continue
  elif ! runnable "$flavour"; then
    echo "built only: $flavour (this processor lacks ${needs[$flavour]})"
    continue
  fi
  got=$(signatures "$build" "${runner[@]}")
  want=$(while read -r name _; do grep "^$name " <<< "$expected"; done <<< "$got")
  if [ "$got" = "$want" ]; then
    echo "ok: $flavour: $(echo $got)"
  else
    echo "FAILED: $flavour: $(echo $got)"
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ]
