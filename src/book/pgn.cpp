#include "book/pgn.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "board/movegen.h"
#include "board/san.h"
#include "platform/line_reader.h"

namespace classic {
namespace {
constexpr int PgnLineSize = 1024;
// Half-moves from this one on stay out of the book.
constexpr int FirstHalfMoveOutOfBook = BookDepth;

struct PgnReader {
  FILE* file;
  char line[PgnLineSize];
  bool pending = false;  // `line` is already read but not yet used
};

struct GameState {
  bool usable = true;  // false after a FEN tag or a move error
  int halfMoves = 0;
  int commentLevel = 0;
  int variationLevel = 0;
};

enum class TokenResult { Next, GameOver, OutOfMemory };

bool next_line(PgnReader& reader) {
  if (reader.pending) {
    reader.pending = false;
    return true;
  }
  return read_text_line(reader.file, reader.line, PgnLineSize);
}

bool is_result(std::string_view token) {
  return token[0] == '*' || (token.size() > 1 && token[1] == '*') || token.starts_with("1-") ||
         token.starts_with("0-") || token.starts_with("1/2-");
}

// Comments and variations; true when the token belongs to one of them.
bool inside_comment_or_variation(std::string_view token, GameState& game) {
  auto track = [&](char open, char close, int& level) {
    bool opens = token.front() == open, closes = token.back() == close;
    if (opens && !closes) level++;
    if (closes && !opens && level > 0) level--;
    return opens || closes;
  };
  bool comment = track('{', '}', game.commentLevel);
  bool variation = track('(', ')', game.variationLevel);
  return comment || variation || game.commentLevel > 0 || game.variationLevel > 0;
}

bool is_move_number(std::string_view token) { return (token[0] >= '1' && token[0] <= '9') || token.back() == '.'; }

TokenResult read_token(std::string_view token, GameState& game, Position& pos, BookCache& cache, PgnTotals& totals) {
  if (is_result(token)) return TokenResult::GameOver;
  if (inside_comment_or_variation(token, game) || is_move_number(token)) return TokenResult::Next;
  game.halfMoves++;
  if (!game.usable || game.halfMoves >= FirstHalfMoveOutOfBook) return TokenResult::Next;
  Move move = read_san(pos, token);
  if (!move || !move_playable(pos, move) || !move_keeps_king_safe(pos, move)) {
    totals.moveErrors++;
    game.usable = false;
    return TokenResult::Next;
  }
  if (cache_add(cache, pos.HashKey, move) < 0) return TokenResult::OutOfMemory;
  make_move(pos, move, 1);
  return TokenResult::Next;
}

TokenResult read_move_line(std::string_view line, GameState& game, Position& pos, BookCache& cache, PgnTotals& totals) {
  while (true) {
    size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return TokenResult::Next;
    line.remove_prefix(start);
    size_t end = std::min(line.find(' '), line.size());
    TokenResult result = read_token(line.substr(0, end), game, pos, cache, totals);
    if (result != TokenResult::Next) return result;
    line.remove_prefix(end);
  }
}

// The next game's tag section, or the end of the file.
void skip_to_next_game(PgnReader& reader) {
  while (next_line(reader)) {
    if (reader.line[0] == '[') {
      reader.pending = true;
      return;
    }
  }
}

// One game from its tags to its result; false when the file has no game left.
bool read_game(PgnReader& reader, Position& pos, BookCache& cache, PgnTotals& totals) {
  if (!next_line(reader)) return false;
  GameState game;
  while (reader.line[0] == '[') {
    // A game set up from its own position says nothing about the opening.
    if (strncmp(reader.line + 1, "FEN", 3) == 0) game.usable = false;
    if (!next_line(reader)) return true;
  }
  do {
    TokenResult result = read_move_line(reader.line, game, pos, cache, totals);
    if (result == TokenResult::OutOfMemory) {
      totals.outOfMemory = true;
      return true;
    }
    if (result == TokenResult::GameOver) {
      skip_to_next_game(reader);
      return true;
    }
  } while (next_line(reader));
  return true;
}
}  // namespace

PgnTotals add_pgn_games(FILE* pgn, BookCache& cache) {
  PgnTotals totals;
  Position start{};
  read_fen(start, StartFen);
  PgnReader reader{pgn, {}, false};
  Position pos;
  while (totals.games < MaxPgnGames && !totals.outOfMemory) {
    pos = start;
    if (!read_game(reader, pos, cache, totals)) break;
    totals.games++;
    if (totals.games % 10000 == 0)
      printf("games = %d, size = %d, cache MB = %d, errors = %d\r", totals.games, cache.count, cache.megabytes,
             totals.moveErrors);
  }
  return totals;
}
}  // namespace classic
