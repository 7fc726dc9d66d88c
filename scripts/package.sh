#!/usr/bin/env bash
# Builds the release flavours for Linux on x86-64 and on ARM64 (cross-compiled
# with Debian's g++-aarch64-linux-gnu) and for Windows (cross-compiled with
# MinGW-w64), and writes one archive per platform into dist/:
#   veltrix-linux-x86-64.tar.gz, veltrix-linux-arm64.tar.gz, veltrix-windows-x86-64.zip
# Each holds a folder per flavour with both programs and the network library
# (on Windows with its import library and module-definition file), the library's
# header and network file, README.md and LICENSE. Then CPack writes the Debian
# packages veltrix_<version>_amd64.deb and veltrix_<version>_arm64.deb
# (cmake/debian-package.cmake).
#
#   scripts/package.sh                                   (everything)
#   FLAVOURS="x86-64-avx2" PLATFORMS="windows" scripts/package.sh
#   PLATFORMS="deb" scripts/package.sh                   (the amd64 package only)
#
# PLATFORMS names any of linux, linux-arm64, windows, deb and deb-arm64; FLAVOURS
# narrows the flavours of each archive to those it names.
#
# The programs of the archives carry the C++ runtime inside, so that they run on
# systems with an older one; they read no endgame tables of either kind, which
# would tie them to the probing libraries of the build machine. A package instead
# depends on the system's C++ runtime and, where the build machine has them, on
# Debian's Gaviota and Syzygy probing libraries (the ARM64 cross build has none).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
read -r -a platforms <<< "${PLATFORMS:-linux linux-arm64 windows deb deb-arm64}"
dist="$here/dist"
builds="$here/build-package"
net=$(ls "$here"/nets/nn-*.nnue)
arm64_toolchain="-DCMAKE_TOOLCHAIN_FILE=$here/cmake/aarch64-linux-gnu.cmake"

# The flavours of an archive: all of its processors', or those FLAVOURS names.
flavours_of() {  # flavours of the platform...
  local f
  for f in "$@"; do
    if [ -z "${FLAVOURS:-}" ] || [[ " $FLAVOURS " == *" $f "* ]]; then echo "$f"; fi
  done
}

build_flavour() {  # platform, flavour, folder to fill
  local build="$builds/$1-$2"
  local options=(-DCMAKE_BUILD_TYPE=Release -DVELTRIX_ARCH="$2" -DVELTRIX_TESTS=OFF -DVELTRIX_BENCHMARKS=OFF)
  case $1 in
    windows) options+=(-DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake") ;;
    linux-arm64) options+=("$arm64_toolchain") ;;
  esac
  if [ "$1" != windows ]; then
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

archive() {  # platform, archive name, flavours...
  local platform=$1 name=$2 stage="$builds/$2"
  shift 2
  read -r -a chosen <<< "$(flavours_of "$@" | tr '\n' ' ')"
  if [ ${#chosen[@]} -eq 0 ]; then
    echo "skipped $name: FLAVOURS names none of its flavours ($*)"
    return
  fi
  rm -rf "$stage" && mkdir -p "$stage/include"
  for flavour in "${chosen[@]}"; do build_flavour "$platform" "$flavour" "$stage/$flavour"; done
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
}

# A package installs one flavour for every processor of its kind: on x86-64 the
# SSE4.1 one (x86-64-v2, every processor since 2008 to 2011), on ARM64 the NEON one.
# CMake finds Debian's multiarch library folder by itself only in a native build.
package() {  # flavour, cmake options...
  local build="$builds/deb-$1"
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRIX_ARCH="$1" -DVELTRIX_TESTS=OFF \
    -DVELTRIX_BENCHMARKS=OFF -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games "${@:2}" > /dev/null
  cmake --build "$build"
  (cd "$build" && cpack | grep -o 'package: .*\.deb.*' | sed 's|.*/dist/|wrote dist/|; s| generated.*||')
}

for platform in "${platforms[@]}"; do
  case $platform in
    linux | windows) archive "$platform" "veltrix-$platform-x86-64" x86-64-avx512 x86-64-avx2 x86-64-sse41 x86-64 ;;
    linux-arm64) archive "$platform" veltrix-linux-arm64 armv8-dotprod armv8 ;;
    deb) package x86-64-sse41 ;;
    deb-arm64) package armv8 "$arm64_toolchain" -DCMAKE_INSTALL_LIBDIR=lib/aarch64-linux-gnu ;;
    *) echo "unknown platform $platform (linux, linux-arm64, windows, deb, deb-arm64)" && exit 2 ;;
  esac
done
