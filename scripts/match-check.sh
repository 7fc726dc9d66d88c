#!/usr/bin/env bash
# Plays short matches of veltrix-classic against veltrix through the match runner
# beside the checkout, the way a tournament manager runs them: a node count, a
# fixed time per move and a fast clock, two games each with colours swapped. Fails
# on any illegal move, crash, loss on time or stalled search.
#
#   scripts/match-check.sh [veltrix-classic] [veltrix]     (default: the ones in build/)
#
# Exits 77 (skipped) when the runner or node is not there.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# Absolute paths: the engines run in a scratch folder.
classic=$(readlink -f "${1:-$here/build/veltrix-classic}")
veltrix=$(readlink -f "${2:-$here/build/veltrix}")
tools="$here/../shared/tools"
runner="$tools/match/match.mjs"

if [ ! -f "$runner" ]; then
  echo "skipped: no match runner at $runner"
  exit 77
fi
if ! command -v node > /dev/null; then
  echo "skipped: node is not installed"
  exit 77
fi
if [ "$(node -p 'parseInt(process.versions.node)')" -lt 20 ]; then
  echo "skipped: the match runner needs node 20 or later, this is $(node --version)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
seed=0
for limit in "--nodes 20000" "--movetime 100" "--tc 2+0.02"; do
  seed=$((seed + 1))
  # $limit is two words on purpose.
  # shellcheck disable=SC2086
  node "$runner" \
    --engine "$classic" --name classic --option Hash=16 --option OwnBook=false --dir "$work" \
    --engine "$veltrix" --name veltrix --option Hash=16 --dir "$work" \
    $limit --games 2 --openings "$tools/openings.epd" --shuffle --seed "$seed" --adjudicate \
    --pgn "$work/games.pgn" --quiet > "$work/summary" 2>&1
  status=$?
  summary=$(tail -n 1 "$work/summary")
  # The last line of the summary is one JSON object with the counts of every fault.
  verdict=$(node -e '
    const s = JSON.parse(process.argv[1]);
    const faults = s.illegalMoves + s.crashes + s.timeForfeits + s.stalls;
    const ok = faults === 0 && s.games === s.gamesPlanned && !s.interrupted;
    console.log(`${ok ? "ok" : "FAILED"}: ${s.games}/${s.gamesPlanned} games, +${s.wins} =${s.draws} -${s.losses}, ` +
                `illegal ${s.illegalMoves}, crashes ${s.crashes}, time forfeits ${s.timeForfeits}, stalls ${s.stalls}, ` +
                `${s.durationSec} s`);
  ' "$summary" 2> /dev/null) || verdict="FAILED: no summary"
  echo "${limit}: $verdict"
  if [ $status -ne 0 ] || [ "${verdict#ok}" = "$verdict" ]; then
    failed=1
    cat "$work/summary"
    cat "$work/games.pgn" 2> /dev/null
  fi
done
exit $failed
