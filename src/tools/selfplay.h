// "sp": quick games of the engine against itself from start positions drawn at
// random from "book.epd", every move a depth-1 search, with a running score.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/position.h"

namespace classic {
constexpr int SelfPlayGames = 1000;
constexpr int MaxSelfPlayPositions = 1000;
constexpr int MaxGameMoves = 400;
constexpr int MaxZeroScores = 16;  // per side: searches scored exactly 0 that make a draw

enum GameResult { GameGoesOn = -1, WhiteWon = 0, Drawn = 1, BlackWon = 2 };

struct SelfPlayScore {
  unsigned whiteWins = 0;
  unsigned draws = 0;
  unsigned blackWins = 0;
};

// The console command with SelfPlayGames games; the answer is White's score in
// per mille. Returns 0 at once (after a key press) when there is nothing to play from.
int selfplay(Position& pos, int games = SelfPlayGames);

// The usable lines of the file: FEN texts that are positions, without blank lines
// or lines starting with a blank, at most MaxSelfPlayPositions. Empty when the
// file cannot be opened.
std::vector<std::string> load_selfplay_positions(const char* path = "book.epd");

// One game from the position as it stands, until game_state ends it or one of the
// draw rules of self-play applies.
GameResult play_selfplay_game(Position& pos);

// What one game has counted so far.
struct GameCounters {
  int moves = 0;
  int zeroScores[2] = {0, 0};  // per colour: its searches scored exactly 0
};
// After the search of `side` chose `best` with `score` and made it on `pos`:
// counts the move and the zero score, and tells whether the game is over.
GameResult judge_move(GameCounters& game, const Position& pos, int side, Move best, int score);

// How the game stands for the side to move.
GameResult game_state(const Position& pos);

// White's score in per mille, 0 before the first whole point.
int score_per_mille(const SelfPlayScore& score);
// "results = ..." closed by `lineEnd` ("\r" while running, "\n" at the end).
void print_results(const SelfPlayScore& score, uint32_t elapsedMs, const char* lineEnd);
}  // namespace classic
