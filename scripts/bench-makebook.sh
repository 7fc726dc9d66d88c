#!/usr/bin/env bash
# "makebook" throughput of veltrix-classic: games per second over a generated PGN
# of random legal games (100,000 by default). The PGN is made in a temporary
# directory and removed afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
games=${GAMES:-100000}
engine=$build/veltrix-classic
generator=$build/bench/pgn_gen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$generator" "$games" > "$work/games.pgn"
echo "PGN: $games games, $(($(stat -c %s "$work/games.pgn") / 1048576)) MB"

start=$(date +%s%N)
(cd "$work" && printf 'makebook\ngames.pgn\nquit\n' | "$engine" | tr '\r' '\n' > makebook.log)
end=$(date +%s%N)
ms=$(((end - start) / 1000000))
grep -E '^(total games|move errors|total moves saved)' "$work/makebook.log"
echo "makebook: $games games in $ms ms (whole process), $((games * 1000 / ms)) games/s"
