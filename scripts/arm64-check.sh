#!/usr/bin/env bash
# Runs the ARM64 programs under qemu-aarch64 (Debian's qemu-user) and holds them
# against the Linux build (scripts/cross-checks.sh); the network library is used
# through its header by another ARM64 program. qemu offers every optional ARM64
# instruction ("-cpu max"), so a build for the dot-product flavour runs as well.
# The checks are of correctness: an emulated program's speed says nothing.
#
#   scripts/arm64-check.sh [arm64 build folder] [linux build folder]
#                          (default: build-arm64 and build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cross=$(readlink -f "${1:-$here/build-arm64}")
linux=$(readlink -f "${2:-$here/build}")
platform=ARM64
suffix=
runner=(qemu-aarch64 -cpu max -L /usr/aarch64-linux-gnu)

# The network's unit tests first: every vector path this processor runs (NEON, and
# under qemu the dot-product path too) against the plain C++ one on random networks
# and on game positions, the loader and the exported functions. The tests that
# start the program as a child process are left out: without the kernel's help
# (binfmt_misc) a child cannot start an ARM64 program, and the checks below run
# the program itself.
if [ -x "$cross/tests/nnue_tests" ]; then
  "${runner[@]}" "$cross/tests/nnue_tests" --gtest_filter='-VeltrixProgram.*' --gtest_brief=1 | grep -v '^Running main'
  echo "ok: network unit tests"
else
  echo "skipped: network unit tests (build the target nnue_tests)"
fi

work="$cross/arm64-check"
rm -rf "$work" && mkdir -p "$work" && cd "$work"

# A build for every ARM64 processor must do without the optional instructions:
# it evaluates and counts perft on the plainest core qemu offers (a Cortex-A53,
# ARMv8.0, as in many single-board computers) as it does here.
if grep -q '^VELTRIX_ARCH:STRING=armv8$' "$cross/CMakeCache.txt"; then
  input='uci\nposition fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\neval\nperft 3\nquit\n'
  plain=$(printf "$input" | "$linux/veltrix" 2>&1 | grep -a -E '^eval: ' || true)
  plain+=", "$(printf "$input" | "$linux/veltrix-classic" 2>&1 | grep -a -E '^Nodes searched' || true)
  armv8=(qemu-aarch64 -cpu cortex-a53 -L /usr/aarch64-linux-gnu)
  a53=$(printf "$input" | "${armv8[@]}" "$cross/veltrix" 2>&1 | grep -a -E '^eval: ' || true)
  a53+=", "$(printf "$input" | "${armv8[@]}" "$cross/veltrix-classic" 2>&1 | grep -a -E '^Nodes searched' || true)
  if [[ "$a53" != "eval: "*", Nodes searched"* ]] || [ "$a53" != "$plain" ]; then
    echo "FAILED: on a Cortex-A53 the armv8 build gives '$a53', the Linux build '$plain'"
    exit 1
  fi
  echo "ok: armv8 build on a Cortex-A53: $a53"
fi

library_user() {  # source, network
  aarch64-linux-gnu-gcc -I"$here/src/nnue" "$1" "$cross/libveltrix_nnue.so" -Wl,-rpath,"$cross" -o library_user.arm64
  "${runner[@]}" ./library_user.arm64 "$2"
}

source "$here/scripts/cross-checks.sh"
