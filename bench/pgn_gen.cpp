// Writes random legal games as a PGN file, for measuring the book builder.
// Moves early in the list are preferred, so openings repeat the way they do in
// real game collections and the book gets moves seen three times and more.
// Usage: pgn_gen <games> [seed] > games.pgn
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "board/movegen.h"
#include "board/movetext.h"

namespace {

constexpr char PieceLetter[7] = {' ', ' ', 'N', 'B', 'R', 'Q', 'K'};

// The origin hints SAN needs when another piece of the same kind reaches the square.
std::string disambiguation(const MoveList& legal, Move m) {
  bool clash = false, fileClash = false, rankClash = false;
  for (int i = 1; i <= legal.count; i++) {
    Move o = legal.moves[i].move;
    if (o == m || MovedPiece(o) != MovedPiece(m) || To(o) != To(m) || CastleType(o)) continue;
    clash = true;
    fileClash |= file_of(From(o)) == file_of(From(m));
    rankClash |= rank_of(From(o)) == rank_of(From(m));
  }
  std::string hint;
  if (!clash) return hint;
  if (!fileClash || rankClash) hint += char('a' + file_of(From(m)));
  if (fileClash) hint += char('1' + rank_of(From(m)));
  return hint;
}

std::string san_text(Position& pos, const MoveList& legal, Move m) {
  std::string text;
  const int type = PieceTypeOf[MovedPiece(m)];
  if (CastleType(m)) {
    text = CastleType(m) == 1 ? "O-O" : "O-O-O";
  } else {
    if (type != Pawn) text += PieceLetter[type] + disambiguation(legal, m);
    if (CapturedPiece(m) || EpCapture(m)) text += std::string(type == Pawn ? 1 : 0, char('a' + file_of(From(m)))) + "x";
    text += SquareName[To(m)];
    if (PromotionPiece(m)) text += std::string("=") + PieceLetter[PieceTypeOf[PromotionPiece(m)]];
  }
  make_move(pos, m, 1);
  if (in_check(pos)) {
    MoveList replies;
    generate_legal(pos, replies);
    text += replies.count ? "+" : "#";
  }
  unmake_move(pos, m, 1);
  return text;
}

// A move near the front of the list, each step back half as likely.
Move pick(const MoveList& legal, std::mt19937_64& rng) {
  int i = 1;
  while (i < legal.count && (rng() & 1)) i++;
  return legal.moves[i].move;
}

void write_game(int number, std::mt19937_64& rng) {
  Position pos{};
  read_fen(pos, StartFen);
  const int length = 60 + int(rng() % 60);
  std::string moves, line;
  const char* result = "1/2-1/2";
  for (int ply = 0; ply < length; ply++) {
    MoveList legal;
    generate_legal(pos, legal);
    if (legal.count == 0) {
      result = in_check(pos) ? (pos.SideToMove == White ? "0-1" : "1-0") : "1/2-1/2";
      break;
    }
    if (is_draw(pos)) break;
    Move m = pick(legal, rng);
    std::string token = (ply % 2 == 0 ? std::to_string(ply / 2 + 1) + ". " : "") + san_text(pos, legal, m);
    make_move(pos, m, 1);
    // Now and then a comment, as annotated collections have them.
    if (ply == 6 && number % 7 == 0) token += " {a comment}";
    if (line.size() + token.size() + 1 > 79) {
      moves += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + token;
  }
  printf("[Event \"Generated %d\"]\n[Site \"?\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"%s\"]\n\n", number, result);
  printf("%s%s %s\n\n", moves.c_str(), line.c_str(), result);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: pgn_gen <games> [seed]\n");
    return 2;
  }
  init_tables();
  int games = atoi(argv[1]);
  std::mt19937_64 rng(argc > 2 ? strtoull(argv[2], nullptr, 10) : 1);
  for (int g = 1; g <= games; g++) write_game(g, rng);
  return 0;
}
