#!/usr/bin/env bash
# Plays one program against itself with the match runner beside the checkout, at
# the clock a user plays at, from the runner's openings, then fits the program's
# win/draw/loss model to the scores it reported (scripts/wdl-fit.mjs, which also
# shows how well the model predicts games it was not fitted on).
#
#   scripts/wdl-calibrate.sh PROGRAM [GAMES] [CLOCK] [more.pgn ...]
#                            (default: 160 games at 10+0.1; PROGRAM e.g. build/veltrix)
#
# The games are kept in wdl-<program>.pgn of the working folder; more PGN files of
# the same program's games (its players' names starting with the program's file
# name) are fitted on with them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
program=$(readlink -f "$1")
games=${2:-160}
clock=${3:-10+0.1}
shift $(($# < 3 ? $# : 3))
runner_dir="$here/../shared/tools/match"
name=$(basename "$program")
pgn="wdl-$name.pgn"

if [ ! -f "$runner_dir/match.mjs" ]; then
  echo "no match runner at $runner_dir" >&2
  exit 1
fi
# One game at a time: each engine then has a processor to itself on two cores, and
# scores are those of the clock asked for. veltrix-classic plays without its book.
options=(--option Hash=64)
[ "$name" = veltrix-classic ] && options+=(--option OwnBook=false)
node "$runner_dir/match.mjs" --engine "$program" --name "$name-a" "${options[@]}" \
  --engine "$program" --name "$name-b" "${options[@]}" \
  --tc "$clock" --games "$games" --concurrency 1 --openings "$runner_dir/../openings.epd" --shuffle --seed 1 \
  --adjudicate --pgn "$pgn" --quiet
node "$here/scripts/wdl-fit.mjs" --runner "$runner_dir" --player "$name" "$pgn" "$@"
