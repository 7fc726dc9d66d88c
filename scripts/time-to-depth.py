#!/usr/bin/env python3
"""Time to a fixed depth with 1 and 2 threads: eight middlegames, each searched
from fresh tables (a new process), by veltrix-classic and veltrix through UCI.
Prints the engine's own time of each search and the speed-up of the sums.

Usage: scripts/time-to-depth.py [build dir] [--classic-depth N] [--veltrix-depth N] [--rounds N]
"""
import argparse
import pathlib
import subprocess
import statistics

MIDDLEGAMES = [
    "r1bqkb1r/pp3ppp/2n1pn2/3p4/2PP4/2N2N2/PP3PPP/R1BQKB1R w KQkq - 0 7",
    "r2q1rk1/pb1nbppp/1p2pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/R2Q1RK1 w - - 0 10",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7",
    "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/5N1P/PPBN1PP1/R1BQR1K1 w - - 0 13",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/2N5/PPP2PPP/R1BQKB1R b KQkq - 2 5",
    "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PP1/R3K2R w KQkq - 0 9",
]


def search_ms(program, fen, depth, threads, extra):
    """The time the engine reports for its last line at `depth`, in milliseconds."""
    engine = subprocess.Popen([str(program)], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
    send = lambda line: (engine.stdin.write(line + "\n"), engine.stdin.flush())
    send("uci")
    for name, value in [("Threads", threads), ("Hash", 64)] + extra:
        send(f"setoption name {name} value {value}")
    send("isready")
    while "readyok" not in engine.stdout.readline():
        pass
    send(f"position fen {fen}")
    send(f"go depth {depth}")
    last = None
    for line in engine.stdout:
        if line.startswith(f"info depth {depth} ") and " time " in line:
            last = int(line.split(" time ")[1].split()[0])
        if line.startswith("bestmove"):
            break
    send("quit")
    engine.wait()
    return last


def measure(program, depth, rounds, extra):
    sums = {1: [], 2: []}
    for _ in range(rounds):
        # Each position with 1 and then 2 threads, so that both see much the same
        # load of a shared machine.
        times = {1: [], 2: []}
        for fen in MIDDLEGAMES:
            for threads in (1, 2):
                times[threads].append(search_ms(program, fen, depth, threads, extra))
        for threads in (1, 2):
            sums[threads].append(sum(times[threads]))
            print(f"  {program.name} threads {threads}: " + " ".join(str(t) for t in times[threads]) +
                  f"  sum {sum(times[threads])} ms")
        print(f"  {program.name} round speed-up {sums[1][-1] / sums[2][-1]:.2f}")
    one, two = statistics.median(sums[1]), statistics.median(sums[2])
    # The rounds' own ratios pair searches run side by side, so a load that comes and
    # goes between rounds does not enter them as it enters the ratio of the medians.
    paired = statistics.median(a / b for a, b in zip(sums[1], sums[2]))
    print(f"{program.name} depth {depth}: 1 thread {one:.0f} ms, 2 threads {two:.0f} ms, speed-up {one / two:.2f}"
          f" (median of the rounds' speed-ups {paired:.2f})")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=pathlib.Path(__file__).resolve().parent.parent / "build")
    parser.add_argument("--classic-depth", type=int, default=16)
    parser.add_argument("--veltrix-depth", type=int, default=16)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    build = pathlib.Path(args.build)
    measure(build / "veltrix-classic", args.classic_depth, args.rounds, [("OwnBook", "false"), ("UseNalimov", "false")])
    measure(build / "veltrix", args.veltrix_depth, args.rounds, [])


if __name__ == "__main__":
    main()
