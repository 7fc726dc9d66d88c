#include "board/position.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/movegen.h"
#include "board/zobrist.h"

const char* const StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

void rebuild_placement(Position& pos) {
  for (int c = Black; c <= White; c++) {
    pos.ColourBB[c] = 0;
    pos.ColourCount[c] = 0;
    pos.KingSq[c] = 0;
    for (int t = 0; t < 7; t++) {
      pos.PieceBB[c][t] = 0;
      pos.PieceCount[c][t] = 0;
    }
  }
  for (int sq = 0; sq < 64; sq++) {
    int code = pos.Board[sq];
    if (!code) continue;
    int c = PieceColourOf[code], t = PieceTypeOf[code];
    pos.PieceBB[c][t] |= SquareBB[sq];
    pos.ColourBB[c] |= SquareBB[sq];
    pos.PieceCount[c][t]++;
    pos.ColourCount[c]++;
    if (t == King) pos.KingSq[c] = sq;
  }
}

Key compute_hash_key(const Position& pos) {
  Key key = ZobristSide[pos.SideToMove];
  for (int sq = 0; sq < 64; sq++) key ^= ZobristPiece[pos.Board[sq]][sq];
  return key;
}

Key compute_pawn_key(const Position& pos) {
  Key key = 0;
  for (int sq = 0; sq < 64; sq++)
    if (PieceTypeOf[pos.Board[sq]] == Pawn) key ^= ZobristPiece[pos.Board[sq]][sq];
  return key;
}

Key compute_material_key(const Position& pos) {
  Key key = 0;
  for (int code = 1; code <= 12; code++)
    key ^= ZobristPiece[code][pos.PieceCount[PieceColourOf[code]][PieceTypeOf[code]]];
  return key;
}

ScorePair compute_psq_score(const Position& pos, int colour) {
  ScorePair sum;
  for (int sq = 0; sq < 64; sq++) {
    int code = pos.Board[sq];
    if (code && PieceColourOf[code] == colour)
      sum += PieceSquareTable[PieceTypeOf[code]][colour == White ? sq : FlipSquare(sq)];
  }
  return sum;
}

// ---------------------------------------------------------------------------
// FEN reading

namespace {
struct FenReader {
  const char* p;
  Dialect dialect;

  bool at_end() const { return *p == '\0'; }
  void skip_spaces() {
    while (*p == ' ') p++;
  }
  // The classic reader explains itself with "info string" lines; veltrix's is silent.
  bool fail(const char* message) const {
    if (dialect == Dialect::Classic && BoardConfig.debugInfo) printf("%s", message);
    return false;
  }
};

bool is_piece_letter(char ch) { return ch && std::strchr("PNBRQKpnbrqk", ch); }

int piece_code_of(char ch) {
  const char* letters = "PNBRQKpnbrqk";
  return int(std::strchr(letters, ch) - letters) + 1;
}

// Placement, from a8 to h1. Ends as soon as the first rank has its eighth square.
bool read_placement(FenReader& in, Position& pos) {
  int rank = 7, file = 0;
  while (true) {
    if (rank == 0 && file == 8) return true;
    char ch = *in.p;
    if (ch == '\0') return true;  // an unfinished placement is caught at the side to move
    in.p++;
    int emptySquares = 0;
    if (ch >= '1' && ch <= '8') {
      emptySquares = ch - '0';
    } else if (ch == '/') {
      if (rank == 0) return in.fail("info string FEN error on pieces!\n");
      rank--;
      file = 0;
      continue;
    } else if (std::isspace(static_cast<unsigned char>(ch))) {
      if (in.dialect == Dialect::Veltrix) continue;  // veltrix skips blanks here
      emptySquares = 1;
    } else if (ch == 'w' && in.dialect == Dialect::Veltrix) {
      emptySquares = 1;
    } else if (is_piece_letter(ch)) {
      if (file >= 8) return in.fail("info string FEN error on pieces!\n");
      pos.Board[make_square(file, rank)] = piece_code_of(ch);
      file++;
      continue;
    } else {
      return in.fail("info string FEN error on pieces!\n");
    }
    if (file + emptySquares > 8) return in.fail("info string FEN error on pieces!\n");
    file += emptySquares;
  }
}

// The castling rook on each side of the king, searched along the king's own first rank.
void find_castling_rooks(Position& pos, int colour) {
  Castling& ci = pos.CastleInfo[colour];
  int king = pos.KingSq[colour];
  int rook = make_piece(colour, Rook);
  int firstSq = colour == White ? A1 : A8, lastSq = firstSq + 7;
  ci.CastleKingSq = king;
  for (int sq = firstSq; sq < king && sq <= lastSq; sq++)
    if (pos.Board[sq] == rook) {
      ci.LRookSq = sq;
      break;
    }
  for (int sq = lastSq; sq > king && sq >= firstSq; sq--)
    if (pos.Board[sq] == rook) {
      ci.RRookSq = sq;
      break;
    }
  ci.CanCastleOO = ci.CanCastleOOO = 0;
}

void read_castling(FenReader& in, Position& pos) {
  for (int i = 0; i < 4 && !in.at_end() && *in.p != ' '; i++) {
    char ch = *in.p++;
    if (ch == '-') continue;
    int colour = std::isupper(static_cast<unsigned char>(ch)) ? White : Black;
    char lower = char(std::tolower(static_cast<unsigned char>(ch)));
    Castling& ci = pos.CastleInfo[colour];
    bool fileLetters = in.dialect == Dialect::Veltrix || BoardConfig.chess960;
    bool kqLetters = in.dialect == Dialect::Veltrix || !BoardConfig.chess960;
    if (kqLetters && lower == 'k') {
      ci.CanCastleOO = 1;
    } else if (kqLetters && lower == 'q') {
      ci.CanCastleOOO = 1;
    } else if (fileLetters && lower >= 'a' && lower <= 'h') {
      bool hSide = lower - 'a' > file_of(pos.KingSq[colour]);
      (hSide ? ci.CanCastleOO : ci.CanCastleOOO) = 1;
      // With two rooks on one side of the king the letter tells which one may castle.
      int named = make_square(lower - 'a', colour == White ? 0 : 7);
      if (pos.Board[named] == make_piece(colour, Rook)) (hSide ? ci.RRookSq : ci.LRookSq) = named;
    }
  }
}

// A right is kept only where castling can happen at all: the king on its own first
// rank with a rook of its colour on that rank on the side of the right.
void drop_impossible_rights(Position& pos) {
  for (int c = Black; c <= White; c++) {
    Castling& ci = pos.CastleInfo[c];
    int rook = make_piece(c, Rook);
    bool kingHome = relative_rank(c, pos.KingSq[c]) == 0;
    if (!kingHome || pos.Board[ci.RRookSq] != rook || ci.RRookSq <= pos.KingSq[c] ||
        rank_of(ci.RRookSq) != rank_of(pos.KingSq[c]))
      ci.CanCastleOO = 0;
    if (!kingHome || pos.Board[ci.LRookSq] != rook || ci.LRookSq >= pos.KingSq[c] ||
        rank_of(ci.LRookSq) != rank_of(pos.KingSq[c]))
      ci.CanCastleOOO = 0;
  }
}

// An en-passant square is kept only when a double push can have produced it: the
// pushed pawn stands just past it and the squares it crossed are empty.
void drop_impossible_ep(Position& pos) {
  int ep = pos.EpTarget;
  if (!ep) return;
  int us = pos.SideToMove, them = other(us);
  int pushed = us == White ? ep - 8 : ep + 8;
  int origin = us == White ? ep + 8 : ep - 8;
  if (relative_rank(them, ep) != 2 || pos.Board[pushed] != make_piece(them, Pawn) || pos.Board[ep] || pos.Board[origin])
    pos.EpTarget = 0;
}

// The material must be one a game can reach: this also bounds the number of moves
// a position can have below the size of a move list.
bool plausible_material(const Position& pos) {
  for (int c = Black; c <= White; c++) {
    const int* n = pos.PieceCount[c];
    int promoted = (n[Knight] > 2 ? n[Knight] - 2 : 0) + (n[Bishop] > 2 ? n[Bishop] - 2 : 0) +
                   (n[Rook] > 2 ? n[Rook] - 2 : 0) + (n[Queen] > 1 ? n[Queen] - 1 : 0);
    if (n[Pawn] + promoted > 8) return false;
  }
  return ((pos.PieceBB[White][Pawn] | pos.PieceBB[Black][Pawn]) & (RankBB[0] | RankBB[7])) == 0;
}

// The half-move clock and the move number after the en-passant field, when they
// are there: the fifty-move rule counts on from the first, the game's plies from
// the second (ply 1 is the position before White's first move).
void read_counters(FenReader& in, Position& pos) {
  pos.Fifty = 0;
  pos.GamePly = 1;
  while (!in.at_end() && *in.p != ' ') in.p++;  // the en-passant field
  in.skip_spaces();
  if (!std::isdigit(static_cast<unsigned char>(*in.p))) return;
  char* end;
  long fifty = std::strtol(in.p, &end, 10);
  in.p = end;
  in.skip_spaces();
  long moveNumber = std::isdigit(static_cast<unsigned char>(*in.p)) ? std::strtol(in.p, &end, 10) : 1;
  // Absurd counters are bounded: the rule needs no more than 100, the ring of keys
  // no particular ply.
  pos.Fifty = int(std::clamp(fifty, 0L, 100L));
  pos.GamePly += 2 * int(std::clamp(moveNumber, 1L, 100000L) - 1) + (pos.SideToMove == Black ? 1 : 0);
}

void finish_position(Position& pos) {
  pos.HashKey = compute_hash_key(pos);
  pos.PawnKey = compute_pawn_key(pos);
  pos.MaterialKey = compute_material_key(pos);
  for (Key& k : pos.KeyHistory) k = 0;
  pos.history_at(pos.GamePly) = pos.HashKey;
  pos.PsqScore[White] = compute_psq_score(pos, White);
  pos.PsqScore[Black] = compute_psq_score(pos, Black);
}

bool parse_fen(Position& pos, const char* text, Dialect dialect) {
  FenReader in{text, dialect};
  for (int& sq : pos.Board) sq = Empty;
  if (in.at_end()) return in.fail("info string FEN error at begin !\n");
  in.skip_spaces();
  if (!read_placement(in, pos)) return false;
  rebuild_placement(pos);

  if (in.at_end()) return in.fail("info string FEN error on color!\n");
  in.skip_spaces();
  if (in.at_end()) return in.fail("info string FEN error on color!\n");
  pos.SideToMove = std::tolower(static_cast<unsigned char>(*in.p++)) == 'w' ? White : Black;

  if (in.at_end()) return in.fail("info string FEN error on castle!\n");
  in.skip_spaces();
  find_castling_rooks(pos, White);
  find_castling_rooks(pos, Black);
  pos.EpTarget = 0;
  if (!in.at_end()) {
    read_castling(in, pos);
    in.skip_spaces();
    char ch = *in.p;
    if (ch >= 'a' && ch <= 'h') pos.EpTarget = make_square(ch - 'a', pos.SideToMove == White ? 5 : 2);
  }
  read_counters(in, pos);

  if (popcount(pos.PieceBB[White][King]) != 1 || popcount(pos.PieceBB[Black][King]) != 1)
    return in.fail("info string FEN error on kings!\n");
  if (!plausible_material(pos)) return in.fail("info string FEN error on material!\n");
  if (square_attacked(pos, pos.KingSq[other(pos.SideToMove)], pos.SideToMove))
    return in.fail("info string FEN error on check!\n");
  drop_impossible_rights(pos);
  drop_impossible_ep(pos);
  finish_position(pos);
  return true;
}
}  // namespace

bool read_fen(Position& pos, const char* text, Dialect dialect) {
  Position candidate = pos;  // rook squares without a rook keep their earlier values
  if (!parse_fen(candidate, text ? text : "", dialect)) return false;
  pos = candidate;
  return true;
}

// ---------------------------------------------------------------------------
// Make and unmake

UndoRecord UndoStack[MaxThreads][MaxPly];

namespace {
constexpr int CastleKingTo[2][3] = {{0, G8, C8}, {0, G1, C1}};
constexpr int CastleRookTo[2][3] = {{0, F8, D8}, {0, F1, D1}};

inline ScorePair psq_of(int code, int sq) {
  int c = PieceColourOf[code];
  return PieceSquareTable[PieceTypeOf[code]][c == White ? sq : FlipSquare(sq)];
}

// Board, bitboards and counts; the piece-square sum only where asked, since unmake
// restores it from the undo record.
template <bool updatePsq>
inline void put_piece(Position& pos, int code, int sq) {
  int c = PieceColourOf[code], t = PieceTypeOf[code];
  pos.Board[sq] = code;
  pos.PieceBB[c][t] |= SquareBB[sq];
  pos.ColourBB[c] |= SquareBB[sq];
  pos.PieceCount[c][t]++;
  pos.ColourCount[c]++;
  if (updatePsq) pos.PsqScore[c] += psq_of(code, sq);
}

template <bool updatePsq>
inline void lift_piece(Position& pos, int code, int sq) {
  int c = PieceColourOf[code], t = PieceTypeOf[code];
  pos.Board[sq] = Empty;
  pos.PieceBB[c][t] &= ClearBB[sq];
  pos.ColourBB[c] &= ClearBB[sq];
  pos.PieceCount[c][t]--;
  pos.ColourCount[c]--;
  if (updatePsq) pos.PsqScore[c] -= psq_of(code, sq);
}

template <bool updatePsq>
inline void shift_piece(Position& pos, int code, int from, int to) {
  int c = PieceColourOf[code], t = PieceTypeOf[code];
  Bitboard fromTo = SquareBB[from] | SquareBB[to];
  pos.Board[from] = Empty;
  pos.Board[to] = code;
  pos.PieceBB[c][t] ^= fromTo;
  pos.ColourBB[c] ^= fromTo;
  if (updatePsq) pos.PsqScore[c] += psq_of(code, to) - psq_of(code, from);
}

inline void save_undo(const Position& pos, UndoRecord& u) {
  u.Fifty = pos.Fifty;
  u.EpTarget = pos.EpTarget;
  u.CastleInfo[White] = pos.CastleInfo[White];
  u.CastleInfo[Black] = pos.CastleInfo[Black];
  u.HashKey = pos.HashKey;
  u.PawnKey = pos.PawnKey;
  u.MaterialKey = pos.MaterialKey;
  u.PsqScore[White] = pos.PsqScore[White];
  u.PsqScore[Black] = pos.PsqScore[Black];
}

inline void restore_undo(Position& pos, const UndoRecord& u) {
  pos.Fifty = u.Fifty;
  pos.EpTarget = u.EpTarget;
  pos.CastleInfo[White] = u.CastleInfo[White];
  pos.CastleInfo[Black] = u.CastleInfo[Black];
  pos.HashKey = u.HashKey;
  pos.PawnKey = u.PawnKey;
  pos.MaterialKey = u.MaterialKey;
  pos.PsqScore[White] = u.PsqScore[White];
  pos.PsqScore[Black] = u.PsqScore[Black];
}

inline void make_castling(Position& pos, Move m, int us) {
  Castling& ci = pos.CastleInfo[us];
  int type = CastleType(m);
  int king = make_piece(us, King), rook = make_piece(us, Rook);
  int kingFrom = ci.CastleKingSq, rookFrom = type == 1 ? ci.RRookSq : ci.LRookSq;
  int kingTo = CastleKingTo[us][type], rookTo = CastleRookTo[us][type];
  // Lift both before setting either down: in Chess960 one's target can be the other's origin.
  lift_piece<true>(pos, king, kingFrom);
  lift_piece<true>(pos, rook, rookFrom);
  put_piece<true>(pos, king, kingTo);
  put_piece<true>(pos, rook, rookTo);
  pos.KingSq[us] = kingTo;
  ci.CanCastleOO = ci.CanCastleOOO = 0;
  pos.HashKey ^= ZobristPiece[king][kingFrom] ^ ZobristPiece[king][kingTo] ^ ZobristPiece[rook][rookFrom] ^
                 ZobristPiece[rook][rookTo];
}

inline void unmake_castling(Position& pos, Move m, int us) {
  const Castling& ci = pos.CastleInfo[us];
  int type = CastleType(m);
  int king = make_piece(us, King), rook = make_piece(us, Rook);
  int rookFrom = type == 1 ? ci.RRookSq : ci.LRookSq;
  lift_piece<false>(pos, king, CastleKingTo[us][type]);
  lift_piece<false>(pos, rook, CastleRookTo[us][type]);
  put_piece<false>(pos, king, ci.CastleKingSq);
  put_piece<false>(pos, rook, rookFrom);
  pos.KingSq[us] = ci.CastleKingSq;
}

// A rook taken on its castling square takes the right with it: another rook that
// later arrives there must not castle with a king that never moved.
inline void drop_right_of_taken_rook(Castling& ci, int sq) {
  if (sq == ci.RRookSq) ci.CanCastleOO = 0;
  if (sq == ci.LRookSq) ci.CanCastleOOO = 0;
}

inline void finish_make(Position& pos) {
  pos.SideToMove ^= 1;
  pos.GamePly++;
  pos.HashKey ^= ZobristSide[pos.SideToMove];
  pos.history_at(pos.GamePly) = pos.HashKey;
  prefetch_table(pos.HashKey);
}
}  // namespace

void make_move(Position& pos, Move m, int ply) {
  int us = pos.SideToMove;
  save_undo(pos, UndoStack[pos.ThreadSlot][ply]);
  pos.HashKey ^= ZobristSide[us];
  pos.Fifty++;
  pos.EpTarget = 0;

  if (CastleType(m)) {
    make_castling(pos, m, us);
    finish_make(pos);
    return;
  }

  int from = From(m), to = To(m), piece = MovedPiece(m), captured = CapturedPiece(m);
  if (captured && !EpCapture(m)) {
    int them = other(us), type = PieceTypeOf[captured];
    pos.MaterialKey ^= ZobristPiece[captured][pos.PieceCount[them][type]];
    lift_piece<true>(pos, captured, to);
    pos.HashKey ^= ZobristPiece[captured][to];
    if (type == Pawn) pos.PawnKey ^= ZobristPiece[captured][to];
    pos.Fifty = 0;
    pos.MaterialKey ^= ZobristPiece[captured][pos.PieceCount[them][type]];
    if (type == Rook) drop_right_of_taken_rook(pos.CastleInfo[them], to);
  }

  shift_piece<true>(pos, piece, from, to);
  pos.HashKey ^= ZobristPiece[piece][from] ^ ZobristPiece[piece][to];

  switch (PieceTypeOf[piece]) {
    case Pawn: {
      pos.Fifty = 0;
      pos.PawnKey ^= ZobristPiece[piece][from] ^ ZobristPiece[piece][to];
      int promoted = PromotionPiece(m);
      if (EpCapture(m)) {
        int them = other(us), victim = make_piece(them, Pawn);
        int victimSq = us == White ? to - 8 : to + 8;
        pos.MaterialKey ^= ZobristPiece[victim][pos.PieceCount[them][Pawn]];
        lift_piece<true>(pos, victim, victimSq);
        pos.MaterialKey ^= ZobristPiece[victim][pos.PieceCount[them][Pawn]];
        pos.HashKey ^= ZobristPiece[victim][victimSq];
        pos.PawnKey ^= ZobristPiece[victim][victimSq];
      } else if (promoted) {
        int type = PieceTypeOf[promoted];
        pos.MaterialKey ^=
            ZobristPiece[piece][pos.PieceCount[us][Pawn]] ^ ZobristPiece[promoted][pos.PieceCount[us][type]];
        lift_piece<true>(pos, piece, to);
        put_piece<true>(pos, promoted, to);
        pos.MaterialKey ^=
            ZobristPiece[piece][pos.PieceCount[us][Pawn]] ^ ZobristPiece[promoted][pos.PieceCount[us][type]];
        pos.HashKey ^= ZobristPiece[piece][to] ^ ZobristPiece[promoted][to];
        pos.PawnKey ^= ZobristPiece[piece][to];
      } else if ((to ^ from) == 16) {
        pos.EpTarget = (from + to) / 2;
      }
      break;
    }
    case Rook: {
      Castling& ci = pos.CastleInfo[us];
      if (ci.CanCastleOO && from == ci.RRookSq)
        ci.CanCastleOO = 0;
      else if (ci.CanCastleOOO && from == ci.LRookSq)
        ci.CanCastleOOO = 0;
      break;
    }
    case King: {
      Castling& ci = pos.CastleInfo[us];
      pos.KingSq[us] = to;
      if (from == ci.CastleKingSq) ci.CanCastleOO = ci.CanCastleOOO = 0;
      break;
    }
    default: break;
  }
  finish_make(pos);
}

void unmake_move(Position& pos, Move m, int ply) {
  pos.SideToMove ^= 1;
  int us = pos.SideToMove;
  restore_undo(pos, UndoStack[pos.ThreadSlot][ply]);
  pos.GamePly--;

  if (CastleType(m)) {
    unmake_castling(pos, m, us);
    return;
  }
  int from = From(m), to = To(m), piece = MovedPiece(m), captured = CapturedPiece(m);
  if (EpCapture(m)) {
    put_piece<false>(pos, make_piece(other(us), Pawn), us == White ? to - 8 : to + 8);
  } else if (int promoted = PromotionPiece(m)) {
    lift_piece<false>(pos, promoted, to);
    put_piece<false>(pos, piece, to);
  }
  shift_piece<false>(pos, piece, to, from);
  if (PieceTypeOf[piece] == King) pos.KingSq[us] = from;
  if (captured && !EpCapture(m)) put_piece<false>(pos, captured, to);
}

void make_null_move(Position& pos, int ply) {
  save_undo(pos, UndoStack[pos.ThreadSlot][ply]);
  pos.GamePly++;
  pos.Fifty++;
  pos.SideToMove ^= 1;
  pos.EpTarget = 0;
  pos.HashKey ^= ZobristSide[Black] ^ ZobristSide[White];
  pos.history_at(pos.GamePly) = pos.HashKey;
  prefetch_table(pos.HashKey);
}

void unmake_null_move(Position& pos, int ply) {
  pos.SideToMove ^= 1;
  restore_undo(pos, UndoStack[pos.ThreadSlot][ply]);
  pos.GamePly--;
}

// ---------------------------------------------------------------------------
// Draws by rule

bool insufficient_material(const Position& pos) {
  const auto& n = pos.PieceCount;
  if (n[White][Pawn] + n[Black][Pawn] + n[White][Rook] + n[Black][Rook] + n[White][Queen] + n[Black][Queen])
    return false;
  return n[White][Knight] + n[White][Bishop] + n[Black][Knight] + n[Black][Bishop] <= 1;
}

bool is_draw(const Position& pos, RepetitionRule rule) {
  if (pos.Fifty >= 100) return true;
  if (insufficient_material(pos)) return true;
  int n = pos.GamePly;
  if (n <= 2) return false;
  int last = n - 2 - pos.Fifty;
  if (last < 1) last = 1;
  int needed = int(rule), seen = 0;
  for (int ply = n - 2; ply >= last; ply -= 2) {
    Key k = pos.history_at(ply);
    if (k && k == pos.HashKey && ++seen == needed) return true;
  }
  return false;
}
