// The SAN reader on any token in any position: the first byte chooses the board
// switches, the first line is a FEN, each further line a token. Whatever the token,
// the answer is 0 or a legal move of the position; and every legal move, written
// in full (piece letter, origin, target, promotion) or as castling, reads back as itself.
#include "board/san.h"
#include "fuzz_support.h"

namespace {

constexpr char PieceLetters[] = " PNBRQK";

// "Ng1f3", "e7e8=Q", "O-O": the SAN of the move with every hint a reader may need.
std::string full_san(Move m) {
  if (CastleType(m)) return CastleType(m) == 1 ? "O-O" : "O-O-O";
  std::string text;
  int type = PieceTypeOf[MovedPiece(m)];
  if (type != Pawn) text += PieceLetters[type];
  text += SquareName[From(m)];
  if (CapturedPiece(m)) text += 'x';
  text += SquareName[To(m)];
  if (PromotionPiece(m)) text += std::string("=") + PieceLetters[PieceTypeOf[PromotionPiece(m)]];
  return text;
}

bool is_legal(const MoveList& list, Move m) {
  for (int i = 1; i <= list.count; i++)
    if (list.moves[i].move == m) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  init_tables();
  silence_stdout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  choose_board_config(in.byte());
  Position pos{};
  if (!read_fen(pos, in.line().c_str())) return 0;
  MoveList list;
  generate_legal(pos, list);
  for (int i = 1; i <= list.count; i++) {
    Move m = list.moves[i].move;
    FUZZ_CHECK(read_san(pos, full_san(m)) == m, "a legal move written in full does not read back");
  }
  while (in.size) {
    const std::string token = in.line();
    const Move m = read_san(pos, token);
    FUZZ_CHECK(m == 0 || is_legal(list, m), "SAN read as a move that is not legal here");
  }
  return 0;
}
