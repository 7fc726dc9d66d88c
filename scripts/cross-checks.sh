# The checks a cross-built pair of programs must pass against the Linux build,
# sourced by windows-check.sh and arm64-check.sh: the UCI identification block,
# the bench signatures of both programs, perft totals, veltrix's evaluation with
# its built-in network, the network library used through its header by another
# program, and a chess interface's dialogue through a pipe (isready answered
# during "go infinite", stop, quit).
#
# The caller sets, before sourcing it:
#   platform   the name of the other system, as the messages print it
#   linux      the Linux build folder
#   cross      the cross build folder, whose programs are $cross/<name>$suffix
#   suffix     the programs' file ending (.exe or nothing)
#   runner     an array: the command that runs a cross-built program here
# and defines library_user SOURCE NETWORK, which builds the program of SOURCE
# against the cross-built network library and its header, runs it with the
# network file and prints its output. The current folder is an empty scratch
# folder, so veltrix finds no network file and uses the one built in, as the
# Linux build does there.

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Runs program $1 (e.g. veltrix-classic) with the arguments after $2 and the lines
# of $2 as input, Linux build and then cross build, into linux.out and cross.out;
# "\r\n" line ends read as "\n".
both() {
  local program=$1 input=$2
  shift 2
  printf "$input" | timeout 600 "$linux/$program" "$@" > linux.out 2>&1 || true
  printf "$input" | timeout 600 "${runner[@]}" "$cross/$program$suffix" "$@" 2> /dev/null | tr -d '\r' > cross.out ||
    true
}

same() {  # description, pattern of the lines to compare
  if ! diff <(grep -a -E "$2" linux.out) <(grep -a -E "$2" cross.out) > diff.out; then
    fail "$1 differs between Linux (<) and $platform (>):"
    cat diff.out
  elif ! grep -a -q -E "$2" cross.out; then
    fail "$1: no such line from either build"
  else
    echo "ok: $1: $(grep -a -E "$2" cross.out | tail -1)"
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
  if grep -a -q "^Nodes searched: $3\$" cross.out; then
    echo "ok: perft $2 of $1: $3"
  else
    fail "perft $2 of $1 is not $3: $(grep -a '^Nodes searched' cross.out)"
  fi
}
perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 5 4865609
perft 'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1' 4 4085603
perft '8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1' 5 674624
perft 'r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1' 4 422333

both veltrix 'uci\neval\nposition fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\neval\nquit\n'
same "veltrix network" '^Using the built-in network'
same "veltrix eval" '^eval: '

# Another program that evaluates through the network library, built against the
# cross-built library and its header, beside the same program on the Linux one.
network=$(ls "$here"/nets/nn-*.nnue)
gcc -I"$here/src/nnue" "$here/scripts/library-user.c" "$linux/libveltrix_nnue.so" -Wl,-rpath,"$linux" -o library_user
./library_user "$network" > linux.out 2>&1 || true
library_user "$here/scripts/library-user.c" "$network" 2> /dev/null | tr -d '\r' > cross.out || true
same "network library" '^library eval: '

# An interface's dialogue through a pipe: the program must notice "isready" and
# "stop" while it searches without end, which needs the input test of the pipe.
dialogue() {  # program
  coproc engine { timeout 300 "${runner[@]}" "$cross/$1$suffix" 2> /dev/null; }
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
  echo "$(basename "$0" .sh): $failures failures"
  exit 1
fi
echo "$(basename "$0" .sh): all passed"
