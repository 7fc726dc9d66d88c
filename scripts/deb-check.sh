#!/usr/bin/env bash
# Checks a Debian package of both programs (cmake/debian-package.cmake): that it
# holds what Debian users look for where they look for it, that it depends on
# exactly the packages whose libraries its programs and library link, and, for a
# package of this machine's architecture (as root), that it installs, that the
# installed programs run from another folder as the build does (bench signatures,
# the built-in network's evaluation, the library through the installed header
# with the installed network), and that it removes cleanly.
#
#   scripts/deb-check.sh <package.deb> [linux build folder]   (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deb=$(readlink -f "$1")
linux=$(readlink -f "${2:-$here/build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

field() { dpkg-deb -f "$deb" "$1"; }
arch=$(field Architecture)
multiarch=$(dpkg-architecture -a"$arch" -qDEB_HOST_MULTIARCH 2> /dev/null)
echo "$(basename "$deb"): $(field Package) $(field Version) $arch, depends: $(field Depends)"

net=$(basename "$(ls "$here"/nets/nn-*.nnue)")
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' > contents
for path in /usr/games/veltrix /usr/games/veltrix-classic "/usr/lib/$multiarch/libveltrix_nnue.so" \
  /usr/include/veltrix_nnue.h "/usr/share/veltrix/$net" /usr/share/doc/veltrix/README.md \
  /usr/share/doc/veltrix/LICENSE /usr/share/doc/veltrix/copyright; do
  grep -q -x "$path" contents || fail "the package lacks $path"
done
[ $failures -gt 0 ] || echo "ok: contents: $(grep -c '[^/]$' contents) files, programs in /usr/games"

# The packages that own the libraries the package's programs and library name
# (their own library aside), against the packages it depends on. A cross
# toolchain's copies of the runtimes belong to packages named <name>-<arch>-cross.
dpkg-deb -x "$deb" root
if [ "$arch" = "$(dpkg --print-architecture)" ]; then libdirs=("/lib/$multiarch" "/usr/lib/$multiarch" /usr/lib /lib); else
  libdirs=("/usr/$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_TYPE 2> /dev/null)/lib"); fi
for elf in root/usr/games/* root/usr/lib/*/*.so; do objdump -p "$elf" | awk '/NEEDED/ {print $2}'; done |
  grep -v '^libveltrix_nnue\.so$' | sort -u > needed
owner() {  # soname: the package that owns it, by the path dpkg knows it under
  local dir path
  for dir in "${libdirs[@]}"; do
    for path in "$dir/$1" "$(readlink -f "$dir/$1")"; do
      [ -e "$path" ] && dpkg -S "$path" 2> /dev/null | head -1 | sed 's/:.*//' && return
    done
  done
  return 0
}
: > owners
while read -r soname; do
  package=$(owner "$soname")
  if [ -n "$package" ]; then echo "${package%-"$arch"-cross}" >> owners; else fail "no package owns $soname"; fi
done < needed
sort -u -o owners owners
field Depends | tr ',' '\n' | sed 's/([^)]*)//; s/:[a-z0-9]*//; s/ //g' | grep -v '^$' | sort -u > depends
if diff owners depends > diff.out; then
  echo "ok: depends on exactly the owners of $(tr '\n' ' ' < needed)"
else
  fail "the dependencies are not the owners of the linked libraries (< owners, > depends):"
  cat diff.out
fi

if [ "$arch" != "$(dpkg --print-architecture)" ] || [ "$(id -u)" != 0 ]; then
  echo "not installed: a package for $arch, checked as user $(id -un) on $(dpkg --print-architecture)"
else
  apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" > install.out 2>&1 || fail "installing: $(cat install.out)"

  # The build's programs and the installed ones, each run in this empty folder.
  compare() {  # description, pattern, input, program, arguments...
    local description=$1 pattern=$2 input=$3 program=$4
    shift 4
    local built installed
    built=$(printf "$input" | "$linux/$program" "$@" 2>&1 | grep -a -E "$pattern" || true)
    installed=$(printf "$input" | "/usr/games/$program" "$@" 2>&1 | grep -a -E "$pattern" || true)
    if [ -z "$installed" ] || [ "$built" != "$installed" ]; then
      fail "$description: the build gives '$built', the installed program '$installed'"
    else
      echo "ok: $description: $(tail -1 <<< "$installed")"
    fi
  }
  compare "veltrix-classic bench signature" '^nodes' '' veltrix-classic bench
  compare "veltrix bench signature" '^(bench: network|Nodes searched)' '' veltrix bench
  compare "veltrix built-in network" '^Using the built-in network' 'quit\n' veltrix
  compare "veltrix eval" '^eval: ' 'uci\nposition fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\neval\nquit\n' veltrix

  # Another program, built against the installed header and library as a user
  # would, loading the installed network; the build's library gives the same.
  gcc "$here/scripts/library-user.c" -lveltrix_nnue -o library_user
  installed=$(./library_user "/usr/share/veltrix/$net" | grep '^library eval' || true)
  built=$(LD_LIBRARY_PATH="$linux" ./library_user "$here/nets/$net" | grep '^library eval' || true)
  if [ -n "$installed" ] && [ "$installed" = "$built" ]; then echo "ok: installed library: $installed"; else
    fail "installed library: '$installed', the build's: '$built'"; fi

  apt-get purge -y -qq -o DPkg::Lock::Timeout=300 veltrix > remove.out 2>&1 || fail "removing: $(cat remove.out)"
  left=$(while read -r path; do [ -e "$path" ] && [ ! -d "$path" ] && echo "$path"; done < contents || true)
  if dpkg -s veltrix > /dev/null 2>&1 || [ -n "$left" ]; then fail "removing left the package or files: $left"; else
    echo "ok: installed, ran and removed"; fi
fi

if [ $failures -gt 0 ]; then
  echo "deb-check: $failures failures"
  exit 1
fi
echo "deb-check: all passed"
