#!/usr/bin/env python3
"""Time to a fixed depth with 1 and 2 threads, by veltrix-classic and veltrix
through UCI, each search from fresh tables (a new process). By default eight
middlegames; --positions takes a file of FENs instead (one a line, anything after
a ';' ignored), such as bench/time-to-depth.epd, middlegames and endgames reached
from the match openings.

Each round takes every position with 1 and 2 threads side by side, in turn 1 then
2 and 2 then 1, so that both see much the same load of a shared machine. Prints per
position the median time and nodes with 1 and 2 threads, the speed-up (median of
the rounds' own ratios) and the node overhead (nodes with 2 threads over nodes with
1); then the medians of both over the positions, the speed-up of the summed times,
and the machine's load while it ran.

Usage: scripts/time-to-depth.py [build dir] [--positions FILE] [--programs veltrix-classic,veltrix]
                                [--classic-depth N] [--veltrix-depth N] [--rounds N]
"""
import argparse
import os
import pathlib
import statistics
import subprocess

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


def search(program, fen, depth, threads, extra):
    """The time (ms) and nodes the engine reports in its last line at `depth`."""
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
        words = line.split()
        if line.startswith(f"info depth {depth} ") and "time" in words and "nodes" in words:
            last = (int(words[words.index("time") + 1]), int(words[words.index("nodes") + 1]))
        if line.startswith("bestmove"):
            break
    send("quit")
    engine.wait()
    return last


def load():
    return "load %.2f" % os.getloadavg()[0]


def measure(program, fens, depth, rounds, extra):
    times = {1: [[] for _ in fens], 2: [[] for _ in fens]}
    nodes = {1: [[] for _ in fens], 2: [[] for _ in fens]}
    loads = []
    for r in range(rounds):
        loads.append(os.getloadavg()[0])
        for i, fen in enumerate(fens):
            for threads in ((1, 2) if (r + i) % 2 == 0 else (2, 1)):
                # None: the search ended before the depth (veltrix-classic's easy move).
                ms, n = search(program, fen, depth, threads, extra) or (None, None)
                times[threads][i].append(ms and max(ms, 1))
                nodes[threads][i].append(n)
        reached = [i for i in range(len(fens)) if None not in times[1][i] + times[2][i]]
        one, two = (sum(times[k][i][-1] for i in reached) for k in (1, 2))
        print(f"  {program.name} round {r + 1}: 1 thread {one} ms, 2 threads {two} ms, speed-up {one / two:.2f}"
              f" ({load()} at its end)", flush=True)
    loads.append(os.getloadavg()[0])
    med = statistics.median
    speedups, overheads = [], []
    print(f"  {'position':<4} {'ms 1':>7} {'ms 2':>7} {'speed-up':>8} {'nodes 1':>10} {'nodes 2':>10} {'overhead':>8}")
    for i in range(len(fens)):
        if i not in reached:
            print(f"  {i + 1:<8} ends before depth {depth}: left out")
            continue
        # Paired: each round's two searches of a position ran side by side.
        speedup = med(a / b for a, b in zip(times[1][i], times[2][i]))
        overhead = med(b / a for a, b in zip(nodes[1][i], nodes[2][i]))
        speedups.append(speedup)
        overheads.append(overhead)
        print(f"  {i + 1:<8} {med(times[1][i]):>7.0f} {med(times[2][i]):>7.0f} {speedup:>8.2f}"
              f" {med(nodes[1][i]):>10.0f} {med(nodes[2][i]):>10.0f} {overhead:>8.2f}")
    one = sum(med(times[1][i]) for i in reached)
    two = sum(med(times[2][i]) for i in reached)
    print(f"{program.name} depth {depth}, {len(reached)} positions, {rounds} rounds: median speed-up {med(speedups):.2f},"
          f" median node overhead {med(overheads):.2f}; summed medians 1 thread {one:.0f} ms, 2 threads {two:.0f} ms,"
          f" speed-up {one / two:.2f}; load {min(loads):.2f} to {max(loads):.2f}", flush=True)


def read_positions(path):
    fens = []
    for line in open(path):
        fen = line.split(";")[0].strip()
        if fen:
            fens.append(fen)
    return fens


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=pathlib.Path(__file__).resolve().parent.parent / "build")
    parser.add_argument("--positions")
    parser.add_argument("--programs", default="veltrix-classic,veltrix")
    parser.add_argument("--classic-depth", type=int, default=16)
    parser.add_argument("--veltrix-depth", type=int, default=16)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    build = pathlib.Path(args.build)
    fens = read_positions(args.positions) if args.positions else MIDDLEGAMES
    programs = args.programs.split(",")
    if "veltrix-classic" in programs:
        measure(build / "veltrix-classic", fens, args.classic_depth, args.rounds,
                [("OwnBook", "false"), ("UseNalimov", "false")])
    if "veltrix" in programs:
        measure(build / "veltrix", fens, args.veltrix_depth, args.rounds, [])


if __name__ == "__main__":
    main()
