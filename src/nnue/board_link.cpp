#include "nnue/board_link.h"

namespace {
// The board's PieceCode (white pawn .. king, then black) to NnuePieceCode.
constexpr int NnueCodeOf[13] = {0, 6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8, 7};

void add_change(NnuePieceChanges& changes, int boardPiece, int from, int to) {
  changes.piece[changes.count] = NnueCodeOf[boardPiece];
  changes.from[changes.count] = from;
  changes.to[changes.count] = to;
  ++changes.count;
}
}  // namespace

void build_piece_lists(const Position& pos, NnueLists& lists) {
  lists = {};
  int next = 2;
  for (int code = WhitePawn; code <= BlackKing; ++code) {
    int nnueCode = NnueCodeOf[code];
    for (Bitboard b = pos.PieceBB[PieceColourOf[code]][PieceTypeOf[code]]; b;) {
      int sq = pop_lsb(b);
      int slot = nnueCode == NnueWhiteKing ? 0 : nnueCode == NnueBlackKing ? 1 : next;
      if (slot >= NnueListSize - 1) continue;  // the last slot keeps the end mark
      if (slot == next) ++next;
      lists.pieces[slot] = nnueCode;
      lists.squares[slot] = sq;
    }
  }
}

int network_to_centipawns(int networkScore) {
  // Wide arithmetic: a network's output can exceed what int32 holds times 100.
  int64_t cp = int64_t(networkScore) * 100 / 256;
  return int(cp < -10000 ? -10000 : cp > 10000 ? 10000 : cp);
}

int evaluate_network(const Position& pos) {
  NnuePlyData ply;
  ply.computed = 0;
  NnuePlyData* const fresh[3] = {&ply, nullptr, nullptr};
  return evaluate_network_incremental(pos, fresh);
}

namespace {
// Most updates only look at the kings; the whole lists are built for a rebuild.
NnueRequest request_for(const Position& pos, NnuePlyData* const nnue[3], NnueLists& lists) {
  lists.pieces[0] = NnueWhiteKing, lists.squares[0] = pos.KingSq[White];
  lists.pieces[1] = NnueBlackKing, lists.squares[1] = pos.KingSq[Black];
  lists.pieces[2] = NnueNone;
  NnueRequest request{pos.SideToMove == White ? 0 : 1, lists.pieces, lists.squares, {nnue[0], nnue[1], nnue[2]}};
  if (update_reads_piece_list(request)) build_piece_lists(pos, lists);
  return request;
}
}  // namespace

void update_network_accumulator(const Position& pos, NnuePlyData* const nnue[3]) {
  NnueLists lists;
  update_accumulator(request_for(pos, nnue, lists));
}

int evaluate_network_incremental(const Position& pos, NnuePlyData* const nnue[3]) {
  NnueLists lists;
  return network_to_centipawns(evaluate_request(request_for(pos, nnue, lists)));
}

void record_move_changes(const Position& before, Move m, NnuePlyData& ply) {
  ply.computed = 0;
  NnuePieceChanges& changes = ply.PieceChanges;
  changes.count = 0;
  int moved = MovedPiece(m);
  if (!moved) return;
  int us = PieceColourOf[moved], to = To(m);

  if (int type = CastleType(m)) {
    // The king first: a king move is recognised by the first entry alone.
    const Castling& ci = before.CastleInfo[us];
    int rank = us == White ? 0 : 7;
    add_change(changes, moved, ci.CastleKingSq, make_square(type == 1 ? 6 : 2, rank));
    add_change(changes, make_piece(us, Rook), type == 1 ? ci.RRookSq : ci.LRookSq,
               make_square(type == 1 ? 5 : 3, rank));
    return;
  }
  if (int promoted = PromotionPiece(m)) {
    add_change(changes, moved, From(m), NnueOffBoard);
    add_change(changes, promoted, NnueOffBoard, to);
  } else {
    add_change(changes, moved, From(m), to);
  }
  if (EpCapture(m))
    add_change(changes, make_piece(other(us), Pawn), us == White ? to - 8 : to + 8, NnueOffBoard);
  else if (int captured = CapturedPiece(m))
    add_change(changes, captured, to, NnueOffBoard);
}
