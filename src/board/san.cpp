#include "board/san.h"

#include "board/movegen.h"

namespace {
// What a token says about its move. -1 means "not given".
struct SanParse {
  int piece;
  int file = -1, rank = -1;
  int fromFile = -1, fromRank = -1;
  int promotion = 0;
  int castle = 0;  // the CastleType the token names, 0 when it is no castling token
};

int piece_of_letter(char c, int colour) {
  switch (c) {
    case 'K': return make_piece(colour, King);
    case 'Q': return make_piece(colour, Queen);
    case 'R': return make_piece(colour, Rook);
    case 'B': return make_piece(colour, Bishop);
    case 'N': return make_piece(colour, Knight);
    default: return 0;
  }
}

SanParse parse_san(std::string_view token, int colour) {
  if (!token.empty()) {
    char last = token.back();
    if (last == '+' || last == '#' || last == '?' || last == '!') token.remove_suffix(1);
  }
  SanParse p;
  p.piece = make_piece(colour, Pawn);
  for (size_t i = 0; i < token.size(); i++) {
    char c = token[i];
    if (int piece = piece_of_letter(c, colour)) {
      p.piece = piece;
    } else if (c >= 'a' && c <= 'h') {
      // A second square letter turns the first into the origin file, as in Nbd7.
      p.fromFile = p.file;
      p.file = c - 'a';
    } else if (c >= '1' && c <= '8') {
      p.fromRank = p.rank;
      p.rank = c - '1';
    } else if (c == '.') {
      p.fromFile = p.fromRank = -1;
    } else if (c == 'O') {
      // "O-O" and its signs fit in four characters; "O-O-O" does not.
      p.castle = token.size() <= 4 ? 1 : 2;
      break;
    } else if (c == '=' && i + 1 < token.size()) {
      if (int promoted = piece_of_letter(token[i + 1], colour); promoted && PieceTypeOf[promoted] != King) {
        p.promotion = promoted;
        break;
      }
    }
  }
  return p;
}

bool matches(const SanParse& p, Move m) {
  if (p.castle && CastleType(m)) return CastleType(m) == p.castle;
  // Without both a file and a rank there is no target square: "x5" must not read
  // as a move to h4.
  if (p.file < 0 || p.rank < 0) return false;
  return MovedPiece(m) == p.piece && To(m) == make_square(p.file, p.rank) && PromotionPiece(m) == p.promotion &&
         (p.fromFile < 0 || file_of(From(m)) == p.fromFile) && (p.fromRank < 0 || rank_of(From(m)) == p.fromRank);
}
}  // namespace

Move read_san(const Position& pos, std::string_view token) {
  const SanParse parse = parse_san(token, pos.SideToMove);
  MoveList list;
  generate_legal(pos, list);
  for (int i = 1; i <= list.count; i++)
    if (matches(parse, list.moves[i].move)) return list.moves[i].move;
  return 0;
}
