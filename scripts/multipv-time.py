#!/usr/bin/env python3
"""Time to a fixed depth with one line and with several: the eight middlegames of
time-to-depth.py, each searched from fresh tables (a new process) with MultiPV 1
and then with MultiPV N, one thread. Prints the engine's own time of each search,
each round's ratio of the sums, the ratio of the median sums and the median of the
rounds' ratios, with the machine's load before and after.

Usage: scripts/multipv-time.py [build dir] [--lines N] [--depth N] [--rounds N] [--classic-depth N]
                               [--reference PROGRAM --reference-depth N]
(--classic-depth 0, the default, leaves veltrix-classic out; --reference measures
another UCI engine the same way, for instance Debian's /usr/games/stockfish.)
"""
import argparse
import os
import pathlib
import runpy
import statistics

HERE = pathlib.Path(__file__).resolve().parent
# The positions and the timed search of time-to-depth.py.
time_to_depth = runpy.run_path(str(HERE / "time-to-depth.py"))
MIDDLEGAMES, search_ms = time_to_depth["MIDDLEGAMES"], time_to_depth["search_ms"]


def load():
    return " ".join(f"{x:.2f}" for x in os.getloadavg())


def measure(program, depth, lines, rounds, extra):
    sums = {1: [], lines: []}
    for _ in range(rounds):
        # Each position with one line and then with several, so that both see much
        # the same load of a shared machine.
        times = {1: [], lines: []}
        for fen in MIDDLEGAMES:
            for count in (1, lines):
                times[count].append(search_ms(program, fen, depth, 1, extra + [("MultiPV", count)]))
        for count in (1, lines):
            sums[count].append(sum(times[count]))
            print(f"  {program.name} MultiPV {count}: " + " ".join(str(t) for t in times[count]) +
                  f"  sum {sum(times[count])} ms")
        print(f"  {program.name} round ratio {sums[lines][-1] / sums[1][-1]:.2f}")
    one, several = statistics.median(sums[1]), statistics.median(sums[lines])
    paired = statistics.median(b / a for a, b in zip(sums[1], sums[lines]))
    print(f"{program.name} depth {depth}: MultiPV 1 {one:.0f} ms, MultiPV {lines} {several:.0f} ms, "
          f"ratio {several / one:.2f} (median of the rounds' ratios {paired:.2f})")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=HERE.parent / "build")
    parser.add_argument("--lines", type=int, default=4)
    parser.add_argument("--depth", type=int, default=16)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--classic-depth", type=int, default=0)
    parser.add_argument("--reference")
    parser.add_argument("--reference-depth", type=int, default=20)
    args = parser.parse_args()
    build = pathlib.Path(args.build)
    print(f"load before: {load()}")
    measure(build / "veltrix", args.depth, args.lines, args.rounds, [])
    if args.classic_depth:
        measure(build / "veltrix-classic", args.classic_depth, args.lines, args.rounds,
                [("OwnBook", "false"), ("UseNalimov", "false")])
    if args.reference:
        measure(pathlib.Path(args.reference), args.reference_depth, args.lines, args.rounds, [])
    print(f"load after: {load()}")


if __name__ == "__main__":
    main()
