#!/usr/bin/env bash
# Runs the Windows programs under wine and holds them against the Linux build:
# the UCI identification block, the bench signatures of both programs, perft
# totals, veltrix's evaluation with its built-in network, the network DLL used
# through its import library and header, and a chess interface's dialogue through
# a pipe (isready answered during "go infinite", stop, quit).
#
#   scripts/windows-check.sh [windows build folder] [linux build folder]
#                            (default: build-win and build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
win=$(readlink -f "${1:-$here/build-win}")
linux=$(readlink -f "${2:-$here/build}")

# A private wine set-up under the build folder, quiet; its first start takes a while.
export WINEPREFIX="$win/wine" WINEDEBUG=-all
trap 'wineserver -k 2> /dev/null || true' EXIT
# The programs run in an empty folder, so veltrix finds no network file and uses
# the one built in, as the Linux build does there.
work="$win/windows-check"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
timeout 300 wineboot --init > /dev/null 2>&1 || true

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Runs program $1 (e.g. veltrix-classic) with the arguments after $2 and the lines
# of $2 as input, Linux build and then Windows build, into linux.out and
# windows.out; "\r\n" line ends read as "\n".
both() {
  local program=$1 input=$2
  shift 2
  printf "$input" | timeout 300 "$linux/$program" "$@" > linux.out 2>&1 || true
  printf "$input" | timeout 300 wine "$win/$program.exe" "$@" 2> /dev/null | tr -d '\r' > windows.out || true
}

same() {  # description, pattern of the lines to compare
  if ! diff <(grep -a -E "$2" linux.out) <(grep -a -E "$2" windows.out) > diff.out; then
    fail "$1 differs between Linux (<) and Windows (>):"
    cat diff.out
  elif ! grep -a -q -E "$2" windows.out; then
    fail "$1: no such line from either build"
  else
    echo "ok: $1: $(grep -a -E "$2" windows.out | tail -1)"
  fi
}

for program in veltrix-classic veltrix; do
  both $program 'uci\nquit\n'
  same "$program identification" '^(id |option |uciok)'
done

both veltrix-classic '' bench
same "veltrix-classic bench signature" '^nodes'
both veltrix '' bench
same "veltrix bench signature" '^(bench: network|Nodes searched)'
both veltrix '' bench fallback
same "veltrix bench fallback signature" '^Nodes searched'

# Perft counts every move kind: castling, en passant, promotions, checks and pins.
perft() {  # FEN, depth, total
  both veltrix-classic "uci\nposition fen $1\nperft $2\nquit\n"
  if grep -a -q "^Nodes searched: $3\$" windows.out; then
    echo "ok: perft $2 of $1: $3"
  else
    fail "perft $2 of $1 is not $3: $(grep -a '^Nodes searched' windows.out)"
  fi
}
perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 5 4865609
perft 'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1' 4 4085603
perft '8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1' 5 674624
perft 'r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1' 4 422333

both veltrix 'uci\neval\nposition fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\neval\nquit\n'
same "veltrix network" '^Using the built-in network'
same "veltrix eval" '^eval: '

# Another program that evaluates through the DLL, linked with its import library
# and header, against the same program on the Linux library.
cat > library_user.c << 'END'
#include <stdio.h>
#include "veltrix_nnue.h"
int main(int argc, char** argv) {
  nnue_init(argv[1]);
  printf("library eval: %d\n", nnue_evaluate_fen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"));
  return 0;
}
END
network=$(ls "$here"/nets/nn-*.nnue)
cp "$win/veltrix_nnue.dll" "$network" .
x86_64-w64-mingw32-gcc-posix -I"$here/src/nnue" library_user.c "$win/libveltrix_nnue.dll.a" -o library_user.exe
gcc -I"$here/src/nnue" library_user.c "$linux/libveltrix_nnue.so" -Wl,-rpath,"$linux" -o library_user
./library_user "$network" > linux.out 2>&1 || true
timeout 300 wine library_user.exe "$(basename "$network")" 2> /dev/null | tr -d '\r' > windows.out || true
rm "$(basename "$network")"  # veltrix must find no network file here
same "network library" '^library eval: '

# An interface's dialogue through a pipe: the program must notice "isready" and
# "stop" while it searches without end, which needs the input test of the pipe.
dialogue() {  # program
  coproc engine { timeout 120 wine "$win/$1.exe" 2> /dev/null; }
  local in=${engine[1]} out=${engine[0]} line seen="" before=$failures
  await_line() {  # pattern, seconds
    while IFS= read -r -t "$2" line <&"$out"; do
      line=${line%$'\r'}
      seen+="$line"$'\n'
      if [[ $line =~ $1 ]]; then return 0; fi
      if [[ $line == bestmove* ]]; then return 1; fi  # the search ended too early
    done
    return 1
  }
  echo -e "uci\nsetoption name Hash value 16\nisready" >&"$in"
  await_line '^readyok$' 60 || fail "$1 did not answer the first isready"
  echo -e "position startpos moves e2e4 e7e5\ngo infinite" >&"$in"
  await_line '^info depth 8 ' 60 || fail "$1 did not search under go infinite"
  echo isready >&"$in"
  await_line '^readyok$' 10 || fail "$1 did not answer isready during go infinite"
  echo stop >&"$in"
  await_line '^bestmove [a-h][1-8][a-h][1-8]' 10 || fail "$1 gave no bestmove after stop"
  echo quit >&"$in"
  local status=0
  wait "$engine_PID" || status=$?
  if [ $status -ne 0 ]; then fail "$1 did not end after quit (status $status)"; fi
  [ $failures -gt $before ] || echo "ok: $1 dialogue: $(grep -c '^readyok$' <<< "$seen") readyok, $(grep '^bestmove' <<< "$seen")"
}
dialogue veltrix-classic
dialogue veltrix

if [ $failures -gt 0 ]; then
  echo "windows-check: $failures failures"
  exit 1
fi
echo "windows-check: all passed"
