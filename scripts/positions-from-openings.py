#!/usr/bin/env python3
"""Middlegames and endgames that nobody tuned on, for scripts/time-to-depth.py:
Debian's Stockfish plays on from the match openings at a short fixed depth, and
the positions are taken from those games. Middlegames come from the even-numbered
openings, a dozen or more moves in; endgames from the odd-numbered ones, once few
pieces are left. Positions in check or with a decided score are passed over.

Usage: scripts/positions-from-openings.py [openings.epd] [--engine PATH] > bench/time-to-depth.epd
"""
import argparse
import pathlib
import subprocess
import sys

DEFAULT_OPENINGS = pathlib.Path(__file__).resolve().parent.parent.parent / "shared/tools/openings.epd"
MIDDLEGAMES, ENDGAMES = 24, 16
MIDDLEGAME_PLY, LAST_PLY = 16, 160
# An endgame: at most four pieces besides kings and pawns on the board, with pawns.
ENDGAME_PIECES = 4
DECIDED = 300


class Engine:
    def __init__(self, path, depth):
        self.depth = depth
        self.proc = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.send("uci")
        self.send("setoption name Threads value 1")
        self.wait_for("readyok", "isready")

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def wait_for(self, word, command):
        self.send(command)
        lines = []
        for line in self.proc.stdout:
            lines.append(line.strip())
            if line.startswith(word):
                return lines
        sys.exit("the engine ended")

    def play(self, fen, moves):
        """The position's FEN, whether the side to move is in check, and the engine's
        score and move there (move None when the game is over)."""
        self.send(f"position fen {fen} moves {' '.join(moves)}")
        board = self.wait_for("Checkers:", "d")
        now = next(l for l in board if l.startswith("Fen:"))[5:]
        in_check = board[-1] != "Checkers:"
        score, move = None, None
        for line in self.wait_for("bestmove", f"go depth {self.depth}"):
            words = line.split()
            if "score" in words:
                kind, value = words[words.index("score") + 1:words.index("score") + 3]
                score = int(value) if kind == "cp" else 100000
            if words[0] == "bestmove":
                move = words[1] if words[1] != "(none)" else None
        return now, in_check, score, move


def pieces(fen):
    board = fen.split()[0]
    return sum(board.count(p) for p in "nbrqNBRQ"), sum(board.count(p) for p in "pP")


def sample(engine, opening, wanted):
    """The first position of the game from `opening` that is of the wanted kind."""
    moves = []
    while len(moves) < LAST_PLY:
        fen, in_check, score, move = engine.play(opening, moves)
        if move is None:
            return None
        officers, pawns = pieces(fen)
        fits = (len(moves) >= MIDDLEGAME_PLY if wanted == "middlegame" else officers <= ENDGAME_PIECES and pawns > 0)
        if fits and not in_check and score is not None and abs(score) <= DECIDED:
            return fen
        if wanted == "middlegame" and len(moves) > 2 * MIDDLEGAME_PLY:
            return None
        moves.append(move)
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("openings", nargs="?", default=DEFAULT_OPENINGS)
    parser.add_argument("--engine", default="/usr/games/stockfish")
    parser.add_argument("--depth", type=int, default=8)
    args = parser.parse_args()
    openings = [l.split(";")[0].strip() for l in open(args.openings) if l.strip()]
    engine = Engine(args.engine, args.depth)
    for wanted, first, count in (("middlegame", 0, MIDDLEGAMES), ("endgame", 1, ENDGAMES)):
        found = 0
        for opening in openings[first::2]:
            if found == count:
                break
            fen = sample(engine, opening, wanted)
            if fen:
                print(f"{fen} ; {wanted}", flush=True)
                found += 1
        print(f"{found} {wanted}s", file=sys.stderr)
    engine.send("quit")


if __name__ == "__main__":
    main()
