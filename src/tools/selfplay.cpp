#include "tools/selfplay.h"

#include <cstdio>
#include <cstdlib>

#include "board/movegen.h"
#include "platform/line_reader.h"
#include "platform/platform.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/search_state.h"
#include "search/time.h"
#include "search/tt.h"

namespace classic {
namespace {
constexpr int SelfPlayClockMs = 36000000;  // only the depth ends a search
constexpr int EpdLineSize = 256;           // 255 characters and the terminator

unsigned games_played(const SelfPlayScore& score) { return score.whiteWins + score.draws + score.blackWins; }

double white_points(const SelfPlayScore& score) { return score.whiteWins + 0.5 * score.draws; }

void count_result(SelfPlayScore& score, GameResult result) {
  if (result == WhiteWon)
    score.whiteWins++;
  else if (result == BlackWon)
    score.blackWins++;
  else
    score.draws++;
}

bool usable_line(const char* line) {
  if (line[0] == '\0' || line[0] == ' ') return false;
  // A line that is no position would start a game from whatever the board held before.
  Position scratch{};
  return read_fen(scratch, line);
}
}  // namespace

GameResult game_state(const Position& pos) {
  MoveList moves;
  bool checked = in_check(pos);
  if (checked) {
    generate_evasions(pos, moves);
  } else {
    generate_tactical(pos, moves);
    generate_quiet(pos, moves);
  }
  // Mate ends the game even on the move that completes the fifty moves.
  if (checked && moves.count == 0) return pos.SideToMove == Black ? WhiteWon : BlackWon;
  if (moves.count == 0 || is_draw(pos)) return Drawn;
  return GameGoesOn;
}

GameResult judge_move(GameCounters& game, const Position& pos, int side, Move best, int score) {
  if (best) game.moves++;
  GameResult result = game_state(pos);
  if (result != GameGoesOn) return result;
  // Shuffling pieces in a dead position scores 0 again and again.
  if (score == 0 && ++game.zeroScores[side] == MaxZeroScores) return Drawn;
  return game.moves == MaxGameMoves ? Drawn : GameGoesOn;
}

GameResult play_selfplay_game(Position& pos) {
  GameCounters game;
  clear_hash_tables();
  while (true) {
    // Searches of depth 1 are over before they look at the input: "quit" is read here.
    if (input_waiting()) handle_search_input();
    if (Signals.quitRequested) quit_program();
    int side = pos.SideToMove;
    Time.depthLimit = 1;
    set_both_clocks(Time, SelfPlayClockMs);
    go_search(pos);
    GameResult result = judge_move(game, pos, side, Search.rootBestMove, Search.rootBestScore);
    if (result != GameGoesOn) return result;
  }
}

std::vector<std::string> load_selfplay_positions(const char* path) {
  std::vector<std::string> lines;
  FILE* file = fopen(path, "r");
  if (!file) {
    printf("error: open book file read!\n");
    return lines;
  }
  printf("loading book fens...\n");
  char line[EpdLineSize];
  while (int(lines.size()) < MaxSelfPlayPositions && read_text_line(file, line, EpdLineSize, LongLine::Cut))
    if (usable_line(line)) lines.emplace_back(line);
  printf("book fen size = %d\n\n", int(lines.size()));
  fclose(file);
  return lines;
}

int score_per_mille(const SelfPlayScore& score) {
  double points = white_points(score);
  unsigned games = games_played(score);
  return points < 1 || games < 1 ? 0 : int(points * 1000 / games);
}

void print_results(const SelfPlayScore& score, uint32_t elapsedMs, const char* lineEnd) {
  printf("results = %0.1f / %d ( %d ), white = %d, draw = %d, black = %d, time used: %u min%s", white_points(score),
         int(games_played(score)), score_per_mille(score), int(score.whiteWins), int(score.draws), int(score.blackWins),
         elapsedMs / 1000 / 60, lineEnd);
}

int selfplay(Position& pos, int games) {
  BoardConfig.chess960 = false;
  uint64_t startMs = now_ms();
  printf("\nselfplaying games...\n");
  printf("max game size = %d\n\n", games);
  SelfPlayScore score;
  std::vector<std::string> starts = load_selfplay_positions();
  if (starts.empty()) {
    // Nothing to play from: let the message be read, then back to the console.
    wait_for_key();
    return 0;
  }
  BoardConfig.sequenceOutput = false;  // no reports during the games
  for (int game = 1; game <= games; game++) {
    read_fen(pos, starts[size_t(rand()) % starts.size()].c_str());
    count_result(score, play_selfplay_game(pos));
    if (game % 10 == 0) print_results(score, uint32_t(now_ms() - startMs), "\r");
  }
  BoardConfig.sequenceOutput = true;
  print_results(score, uint32_t(now_ms() - startMs), "\n");
  return score_per_mille(score);
}
}  // namespace classic
