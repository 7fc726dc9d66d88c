#!/usr/bin/env bash
# Builds the release flavours for Linux and for Windows (cross-compiled with
# MinGW-w64) and writes one archive per platform into dist/:
#   veltrix-linux-x86-64.tar.gz, veltrix-windows-x86-64.zip
# Each holds a folder per flavour with both programs and the network library
# (on Windows with its import library and module-definition file), the library's
# header and network file, README.md and LICENSE.
#
#   scripts/package.sh                        (all flavours, both platforms)
#   FLAVOURS="x86-64-avx2" PLATFORMS="windows" scripts/package.sh
#
# The Linux programs carry the C++ runtime inside, so that they run on systems
# with an older one; they read no endgame tables of either kind, which would tie
# them to the probing libraries of the build machine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
read -r -a flavours <<< "${FLAVOURS:-x86-64-avx512 x86-64-avx2 x86-64-sse41 x86-64}"
read -r -a platforms <<< "${PLATFORMS:-linux windows}"
dist="$here/dist"
builds="$here/build-package"
net=$(ls "$here"/nets/nn-*.nnue)

build_flavour() {  # platform, flavour, folder to fill
  local build="$builds/$1-$2"
  local options=(-DCMAKE_BUILD_TYPE=Release -DVELTRIX_ARCH="$2" -DVELTRIX_TESTS=OFF -DVELTRIX_BENCHMARKS=OFF)
  if [ "$1" = windows ]; then
    options+=(-DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake")
  else
    options+=(-DVELTRIX_TABLEBASES=OFF -DVELTRIX_SYZYGY=OFF "-DCMAKE_EXE_LINKER_FLAGS=-static-libstdc++ -static-libgcc"
      "-DCMAKE_SHARED_LINKER_FLAGS=-static-libstdc++ -static-libgcc")
  fi
  cmake -S "$here" -B "$build" -G Ninja "${options[@]}" > /dev/null
  cmake --build "$build" --target veltrix-classic veltrix veltrix_nnue
  mkdir -p "$3"
  if [ "$1" = windows ]; then
    cp "$build"/{veltrix-classic.exe,veltrix.exe,veltrix_nnue.dll,libveltrix_nnue.dll.a,veltrix_nnue.def} "$3"
  else
    cp "$build"/{veltrix-classic,veltrix,libveltrix_nnue.so} "$3"
  fi
}

for platform in "${platforms[@]}"; do
  name="veltrix-$platform-x86-64"
  stage="$builds/$name"
  rm -rf "$stage" && mkdir -p "$stage/include"
  for flavour in "${flavours[@]}"; do build_flavour "$platform" "$flavour" "$stage/$flavour"; done
  cp "$here/src/nnue/veltrix_nnue.h" "$stage/include"
  cp "$net" "$here/README.md" "$here/LICENSE" "$stage"
  mkdir -p "$dist"
  if [ "$platform" = windows ]; then
    rm -f "$dist/$name.zip"
    (cd "$builds" && zip -q -r "$dist/$name.zip" "$name")
    echo "wrote dist/$name.zip"
  else
    tar -C "$builds" -czf "$dist/$name.tar.gz" "$name"
    echo "wrote dist/$name.tar.gz"
  fi
done
