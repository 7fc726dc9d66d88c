#!/usr/bin/env bash
# Measures veltrix's limited strength on the scale players know: at each level,
# veltrix with UCI_LimitStrength and UCI_Elo X plays Debian's Stockfish 15.1 with
# its own UCI_LimitStrength and the same UCI_Elo X, at 10+0.1, one game at a time
# and niced (each game then takes about one core). Prints per level the games,
# wins, draws and losses from veltrix's side, its score and the Elo difference
# with its 95% error; 0 means the level plays at the rating it names.
#
#   scripts/strength-check.sh [veltrix]           (default: build/veltrix)
#
# Settings from the environment:
#   LEVELS="1350 1800 2300 2850"   the UCI_Elo levels, played in turn
#   GAMES=40                       games per level (an even number: each opening twice)
#   TC=10+0.1                      the clock of both sides
#   SEED=                          set: the openings shuffled with this seed, else in order
#   FULL=1                         veltrix at full strength (no limit) against each level
#   REFERENCE=/usr/games/stockfish
#   PGN_DIR=                       set: the games of each level kept there
#
# Needs the match runner beside the checkout (../shared/tools) and Node 20.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
veltrix=$(readlink -f "${1:-$here/build/veltrix}")
tools="$here/../shared/tools"
runner="$tools/match/match.mjs"
reference=${REFERENCE:-/usr/games/stockfish}
levels=${LEVELS:-1350 1800 2300 2850}
games=${GAMES:-40}
tc=${TC:-10+0.1}

for need in "$runner" "$reference" "$veltrix"; do
  [ -e "$need" ] || { echo "missing: $need" >&2; exit 1; }
done
order=()
[ -n "${SEED:-}" ] && order=(--shuffle --seed "$SEED")
limit=(--option UCI_LimitStrength=true)
[ "${FULL:-0}" = 1 ] && limit=()

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "veltrix$([ "${FULL:-0}" = 1 ] && echo ' at full strength') against $reference, $tc, $games games per level"
for elo in $levels; do
  pgn="${PGN_DIR:-$work}/strength-$elo.pgn"
  velt_options=("${limit[@]}")
  [ ${#limit[@]} -gt 0 ] && velt_options+=(--option "UCI_Elo=$elo")
  nice node "$runner" \
    --engine "$veltrix" --name veltrix --option Hash=64 "${velt_options[@]}" --dir "$work" \
    --engine "$reference" --name "reference-$elo" --option Hash=64 --option Threads=1 \
    --option UCI_LimitStrength=true --option "UCI_Elo=$elo" --dir "$work" \
    --tc "$tc" --games "$games" --concurrency 1 --openings "$tools/openings.epd" "${order[@]}" \
    --adjudicate --pgn "$pgn" --quiet > "$work/summary" 2>&1 || true
  # The last line of the runner's summary is one JSON object.
  node -e '
    const s = JSON.parse(process.argv[1]);
    const elo = (x) => (x === null ? "inf" : (x >= 0 ? "+" : "") + x.toFixed(0));
    const err = s.eloError95 === null ? "inf" : s.eloError95.toFixed(0);
    const faults = s.illegalMoves + s.crashes + s.timeForfeits + s.stalls;
    console.log(`UCI_Elo ${process.argv[2]}: ${s.games} games, +${s.wins} =${s.draws} -${s.losses}, ` +
                `${s.scorePercent}%, Elo ${elo(s.elo)} +/- ${err}` + (faults ? `, faults ${JSON.stringify(s.faults)}` : ""));
  ' "$(tail -n 1 "$work/summary")" "$elo" || { echo "UCI_Elo $elo: no result"; cat "$work/summary"; }
done
