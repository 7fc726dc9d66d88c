#!/usr/bin/env bash
# Nodes per second of `veltrix bench` beside a reference engine's own `bench`, run
# in turn round after round so that both see the same load of a shared machine.
# veltrix runs twice: with its default table, whose size gives the signature, and
# with a 16 MB table like the reference's bench, whose random reads then stay in
# fewer pages. The reference runs twice too, with its own 16 MB and with veltrix's
# default size (its bench takes the table size as its first argument), so that
# each table size has a like-for-like ratio.
#
#   scripts/bench-vs-reference.sh [rounds] [reference engine]   (default: 6, Debian's packaged engine)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-6}
reference=${2:-/usr/games/stockfish}
veltrix="$here/build/veltrix"
[ -x "$reference" ] || { echo "no reference engine at $reference"; exit 77; }

nps() { "$@" 2>&1 | grep -a "Nodes/second" | tr -dc '0-9'; }
default_mb=$("$veltrix" bench 1 | sed -n 's/.*hash \([0-9]*\) MB.*/\1/p')
ratios_default=() ratios_small=() ratios_same=()
for round in $(seq "$rounds"); do
  own=$(nps "$veltrix" bench)
  small=$(nps "$veltrix" bench hash 16)
  ref=$(nps "$reference" bench)
  ref_same=$(nps "$reference" bench "$default_mb")
  ratios_default+=("$(echo "scale=3; $own / $ref" | bc)")
  ratios_small+=("$(echo "scale=3; $small / $ref" | bc)")
  ratios_same+=("$(echo "scale=3; $own / $ref_same" | bc)")
  echo "round $round: veltrix $own, veltrix with 16 MB $small, reference $ref, reference with $default_mb MB $ref_same nodes/s;" \
    "ratios ${ratios_default[-1]} ${ratios_small[-1]} ${ratios_same[-1]}"
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
echo "median ratio to the reference's bench: $(median "${ratios_default[@]}") (veltrix's default table)," \
  "$(median "${ratios_small[@]}") (both 16 MB), $(median "${ratios_same[@]}") (both $default_mb MB)"
