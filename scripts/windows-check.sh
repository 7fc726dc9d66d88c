#!/usr/bin/env bash
# Runs the Windows programs under wine and holds them against the Linux build
# (scripts/cross-checks.sh); the network DLL is used through its import library
# and header.
#
#   scripts/windows-check.sh [windows build folder] [linux build folder]
#                            (default: build-win and build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cross=$(readlink -f "${1:-$here/build-win}")
linux=$(readlink -f "${2:-$here/build}")
platform=Windows
suffix=.exe
runner=(wine)

# A private wine set-up under the build folder, quiet; its first start takes a while.
export WINEPREFIX="$cross/wine" WINEDEBUG=-all
trap 'wineserver -k 2> /dev/null || true' EXIT
work="$cross/windows-check"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
timeout 300 wineboot --init > /dev/null 2>&1 || true

# The DLL and the network file beside the program, as a Windows user keeps them.
library_user() {  # source, network
  cp "$cross/veltrix_nnue.dll" "$2" .
  x86_64-w64-mingw32-gcc-posix -I"$here/src/nnue" "$1" "$cross/libveltrix_nnue.dll.a" -o library_user.exe
  timeout 300 wine library_user.exe "$(basename "$2")"
  rm "$(basename "$2")"  # veltrix must find no network file here
}

source "$here/scripts/cross-checks.sh"
