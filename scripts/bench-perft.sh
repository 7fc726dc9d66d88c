#!/usr/bin/env bash
# Perft 6 from the start position: nodes per second of veltrix-classic, and of the
# strongest engine Debian packages when it is installed, measured side by side.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
engine=${1:-$here/build/veltrix-classic}
runs=${RUNS:-3}

best_ms() {  # the fastest of $runs runs of a command reading $1 on stdin
  local best=
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    printf '%b' "$1" | "${@:2}" > /dev/null
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

nodes=119060324
ms=$(best_ms 'perft 6\nquit\n' "$engine")
echo "veltrix-classic perft 6: $nodes nodes, $ms ms (whole process), $((nodes * 1000 / ms)) nodes/s"
printf 'perft 6\nquit\n' | "$engine" | grep -E '^(Nodes searched|Time)'
if [ -x /usr/games/stockfish ]; then
  ms=$(best_ms 'position startpos\ngo perft 6\nquit\n' /usr/games/stockfish)
  echo "reference engine perft 6: $nodes nodes, $ms ms (whole process), $((nodes * 1000 / ms)) nodes/s"
fi
