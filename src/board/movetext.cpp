#include "board/movetext.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "board/movegen.h"

// clang-format off
const char* const SquareName[64] = {
    "a1", "b1", "c1", "d1", "e1", "f1", "g1", "h1", "a2", "b2", "c2", "d2", "e2", "f2", "g2", "h2",
    "a3", "b3", "c3", "d3", "e3", "f3", "g3", "h3", "a4", "b4", "c4", "d4", "e4", "f4", "g4", "h4",
    "a5", "b5", "c5", "d5", "e5", "f5", "g5", "h5", "a6", "b6", "c6", "d6", "e6", "f6", "g6", "h6",
    "a7", "b7", "c7", "d7", "e7", "f7", "g7", "h7", "a8", "b8", "c8", "d8", "e8", "f8", "g8", "h8",
};
// clang-format on

namespace {
constexpr char PromotionLetter[13] = {' ', 'p', 'n', 'b', 'r', 'q', 'k', 'p', 'n', 'b', 'r', 'q', 'k'};
const char* const PieceString[13] = {"  ", "+P", "+N", "+B", "+R", "+Q", "+K", "-P", "-N", "-B", "-R", "-Q", "-K"};
constexpr char PieceLetter[13] = {' ', 'p', 'n', 'b', 'r', 'q', 'k', 'p', 'n', 'b', 'r', 'q', 'k'};

bool is_file(char c) { return c >= 'a' && c <= 'h'; }
bool is_rank(char c) { return c >= '1' && c <= '8'; }

void castle_rights_text(const Position& pos, char out[5]) {
  out[0] = pos.CastleInfo[White].CanCastleOO ? 'K' : '-';
  out[1] = pos.CastleInfo[White].CanCastleOOO ? 'Q' : '-';
  out[2] = pos.CastleInfo[Black].CanCastleOO ? 'k' : '-';
  out[3] = pos.CastleInfo[Black].CanCastleOOO ? 'q' : '-';
  out[4] = '\0';
}

bool shows_ep(int ep) { return ep >= 16 && ep <= 47; }
}  // namespace

std::string move_text(Move m) {
  if (m < 2) return "0000";
  if (BoardConfig.castlingOO && CastleType(m)) return CastleType(m) == 1 ? "O-O" : "O-O-O";
  std::string text = std::string(SquareName[From(m)]) + SquareName[To(m)];
  // Book and learning files may hold any word: a piece code beyond the twelve is no promotion.
  if (int promoted = PromotionPiece(m); promoted && promoted <= BlackKing) text += PromotionLetter[promoted];
  return text;
}

void print_move(Move m) { printf("%s ", move_text(m).c_str()); }

void print_move_sequence(const Move* moves) {
  if (!BoardConfig.sequenceOutput) return;
  for (int i = 0; i < 10 && moves[i] >= 1; i++) print_move(moves[i]);
}

Move parse_move(const Position& pos, const char* text, Dialect dialect) {
  MoveList list;
  bool castlingText = BoardConfig.castlingOO && (text[0] == 'O' || (dialect == Dialect::Veltrix && text[0] == 'o'));
  if (castlingText) {
    // Castling is matched by its type, so "O-O" works whichever encoding the moves use.
    int type = strlen(text) <= 3 ? 1 : 2;
    generate_legal(pos, list);
    for (int i = 1; i <= list.count; i++)
      if (CastleType(list.moves[i].move) == type) return list.moves[i].move;
    return 0;
  }
  if (!is_file(text[0]) || !is_rank(text[1]) || !is_file(text[2]) || !is_rank(text[3])) return 0;
  int from = make_square(text[0] - 'a', text[1] - '1');
  int to = make_square(text[2] - 'a', text[3] - '1');
  int promotion = 0;
  if (strlen(text) == 5) {
    // Interfaces write the promotion letter in either case.
    const char* types = strchr("nbrq", std::tolower(static_cast<unsigned char>(text[4])));
    if (text[4] && types) promotion = make_piece(pos.SideToMove, Knight + int(types - "nbrq"));
  }
  generate_legal(pos, list);
  for (int i = 1; i <= list.count; i++) {
    Move m = list.moves[i].move;
    if (From(m) == from && To(m) == to && PromotionPiece(m) == promotion) return m;
    // In standard chess castling may also be written as the king taking its own rook.
    const Castling& ci = pos.CastleInfo[pos.SideToMove];
    if (CastleType(m) && !BoardConfig.chess960 && From(m) == from && !promotion &&
        to == (CastleType(m) == 1 ? ci.RRookSq : ci.LRookSq))
      return m;
  }
  return 0;
}

void print_board(const Position& pos) {
  const char* line = "\n  +----+----+----+----+----+----+----+----+ \n";
  printf("\n%s", line);
  for (int rank = 7; rank >= 0; rank--) {
    printf("%d |", rank + 1);
    for (int file = 0; file < 8; file++) printf(" %s |", PieceString[pos.Board[make_square(file, rank)]]);
    printf("%s", line);
  }
  printf("     a    b    c    d    e    f    g    h \n\n");
  printf(pos.SideToMove == White ? "white to move\n" : "black to move\n");
  printf("GamePly = %d , HashAge = %d , Fifty = %d\n", pos.GamePly, TableAge, pos.Fifty);
  if (shows_ep(pos.EpTarget))
    printf("EpTarget = %s , ", SquareName[pos.EpTarget]);
  else
    printf("EpTarget = -- , ");
  char rights[5];
  castle_rights_text(pos, rights);
  printf("CastleRights= %s", rights);
  for (int c : {White, Black}) {
    const Castling& ci = pos.CastleInfo[c];
    printf("%s king sq = %s, R_rook sq = %s, L_rook sq = %s\n", c == White ? "\nWhite" : "Black",
           SquareName[ci.CastleKingSq], SquareName[ci.RRookSq], SquareName[ci.LRookSq]);
  }
  printf("\n\n");
  write_html_board(pos);
}

void write_html_board(const Position& pos, const char* path) {
  FILE* f = fopen(path, "w");
  if (!f) {
    if (BoardConfig.debugInfo) printf("info string error: open html write\n");
    return;
  }
  fprintf(f, "<html>\n<meta http-equiv=\"refresh\" content=\"1\" />\n<body>\n");
  fprintf(f, "<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n");
  for (int rank = 7; rank >= 0; rank--) {
    fprintf(f, "<tr><td>%d</td>\n", rank + 1);
    for (int file = 0; file < 8; file++) {
      int sq = make_square(file, rank), code = pos.Board[sq];
      char square = SquareColour[sq] ? 'w' : 'b';
      if (!code) {
        fprintf(f, "<td><img src=\"%csq.jpg\" width=\"50\" height=\"50\" ></td>\n", square);
      } else {
        // Black queens and kings have one blank before ">", every other piece two.
        bool oneBlank = code == BlackQueen || code == BlackKing;
        fprintf(f, "<td><img src=\"%c%c%c.jpg\" width=\"50\" height=\"50\" %s></td>\n", square,
                PieceColourOf[code] == White ? 'w' : 'b', PieceLetter[code], oneBlank ? "" : " ");
      }
    }
    fprintf(f, "</tr>\n");
  }
  fprintf(f, "<tr><td align=\"center\"></td>\n");
  for (char file = 'a'; file <= 'h'; file++) fprintf(f, "<td align=\"center\">%c</td>\n", file);
  fprintf(f, "</tr>\n</table><br>\n");
  fprintf(f, pos.SideToMove == White ? "<p>white to move</p>" : "<p>black to move</p>");
  fprintf(f, "<p>GameAge = %d</p><p>GamePly = %d</p><p>Fifty = %d</p>", TableAge, pos.GamePly, pos.Fifty);
  if (shows_ep(pos.EpTarget))
    fprintf(f, "<p>EpTarget = %s</p>", SquareName[pos.EpTarget]);
  else
    fprintf(f, "<p>EpTarget = -</p>");
  char rights[5];
  castle_rights_text(pos, rights);
  fprintf(f, "<p>Castle Rights:</p><p>%s</p>\n", rights);
  fprintf(f, "</body>\n</html>\n");
  if (fclose(f) != 0 && BoardConfig.debugInfo) printf("info string error: html close\n");
}
