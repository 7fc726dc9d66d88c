#!/usr/bin/env python3
"""How soon each program answers a chess interface at start: the wall time from
starting the process to its "uciok", the processor time the process had used by
then (all its threads), and the wall time from "isready" sent right after "uciok"
to "readyok". Runs veltrix-classic, veltrix and, where installed, Debian's
Stockfish from an empty folder, several times each, and prints the medians.

Usage: scripts/startup-time.py [build dir] [--runs N]
"""
import argparse
import os
import pathlib
import shutil
import statistics
import subprocess
import tempfile
import time


def cpu_ms(pid):
    """Processor time of every thread of the process, in milliseconds, from the
    scheduler's nanosecond counts (the tick counts of /proc/<pid>/stat are 10 ms
    coarse)."""
    total = 0
    for task in pathlib.Path(f"/proc/{pid}/task").iterdir():
        total += int((task / "schedstat").read_text().split()[0])
    return total / 1e6


def read_until(engine, word):
    while True:
        line = engine.stdout.readline()
        if not line:
            raise RuntimeError(f"{engine.args[0]} ended before {word!r}")
        if line.split() and line.split()[0] == word:
            return


def one_start(program, folder):
    start = time.perf_counter()
    engine = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1,
                              cwd=folder)
    engine.stdin.write("uci\n")
    engine.stdin.flush()
    read_until(engine, "uciok")
    to_uciok = (time.perf_counter() - start) * 1000
    cpu = cpu_ms(engine.pid)
    ready_start = time.perf_counter()
    engine.stdin.write("isready\n")
    engine.stdin.flush()
    read_until(engine, "readyok")
    to_readyok = (time.perf_counter() - ready_start) * 1000
    engine.stdin.write("quit\n")
    engine.stdin.close()
    engine.wait()
    return to_uciok, cpu, to_readyok


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default=pathlib.Path(__file__).resolve().parent.parent / "build")
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    build = pathlib.Path(args.build).resolve()
    programs = [build / "veltrix-classic", build / "veltrix"]
    reference = shutil.which("stockfish") or "/usr/games/stockfish"
    if os.access(reference, os.X_OK):
        programs.append(pathlib.Path(reference))
    print(f"medians of {args.runs} starts from an empty folder, load average {os.getloadavg()[0]:.2f}")
    print(f"{'program':<20} {'to uciok':>10} {'cpu by uciok':>13} {'isready to readyok':>19}")
    with tempfile.TemporaryDirectory() as folder:
        for program in programs:
            runs = [one_start(str(program), folder) for _ in range(args.runs)]
            uciok, cpu, readyok = (statistics.median(r[i] for r in runs) for i in range(3))
            print(f"{program.name:<20} {uciok:>7.1f} ms {cpu:>10.1f} ms {readyok:>16.1f} ms")


if __name__ == "__main__":
    main()
