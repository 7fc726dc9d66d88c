#!/usr/bin/env bash
# Nodes per second of `veltrix bench` beside a reference engine's own `bench`, run
# in turn round after round so that both see the same load of a shared machine.
# veltrix runs twice: with its default table, whose size gives the signature, and
# with a 16 MB table like the reference's bench, whose random reads then stay in
# fewer pages.
#
#   scripts/bench-vs-reference.sh [rounds] [reference engine]   (default: 6, Debian's packaged engine)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-6}
reference=${2:-/usr/games/stockfish}
veltrix="$here/build/veltrix"
[ -x "$reference" ] || { echo "no reference engine at $reference"; exit 77; }

nps() { "$@" 2>&1 | grep -a "Nodes/second" | tr -dc '0-9'; }
ratios_default=() ratios_small=()
for round in $(seq "$rounds"); do
  own=$(nps "$veltrix" bench)
  small=$(nps "$veltrix" bench hash 16)
  ref=$(nps "$reference" bench)
  ratios_default+=("$(echo "scale=3; $own / $ref" | bc)")
  ratios_small+=("$(echo "scale=3; $small / $ref" | bc)")
  echo "round $round: veltrix $own, veltrix with 16 MB $small, reference $ref nodes/s; ratios ${ratios_default[-1]} ${ratios_small[-1]}"
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
echo "median ratio to the reference: $(median "${ratios_default[@]}") (default table), $(median "${ratios_small[@]}") (16 MB)"
