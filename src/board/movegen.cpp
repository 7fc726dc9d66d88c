#include "board/movegen.h"

namespace {
constexpr Move PromotionOrder[4] = {Queen, Knight, Rook, Bishop};

// Squares attacked by `them` seen from `sq`, with a given occupancy and an optional
// set of their pieces taken off the board (a capture in progress).
template <int Us>
inline bool attacked_by_them(const Position& pos, int sq, Bitboard occupied, Bitboard removed = 0) {
  constexpr int Them = other(Us);
  const Bitboard* p = pos.PieceBB[Them];
  Bitboard queens = p[Queen] & ~removed;
  return (PawnAttacks[Us][sq] & p[Pawn] & ~removed) || (KnightAttacks[sq] & p[Knight] & ~removed) ||
         (KingAttacks[sq] & p[King]) || (bishop_attacks(sq, occupied) & ((p[Bishop] & ~removed) | queens)) ||
         (rook_attacks(sq, occupied) & ((p[Rook] & ~removed) | queens));
}

// Own pieces standing alone between the own king and an enemy slider on its line.
template <int Us>
inline Bitboard pinned_pieces(const Position& pos) {
  constexpr int Them = other(Us);
  int ksq = pos.KingSq[Us];
  const Bitboard* p = pos.PieceBB[Them];
  Bitboard snipers = (rook_attacks(ksq, 0) & (p[Rook] | p[Queen])) | (bishop_attacks(ksq, 0) & (p[Bishop] | p[Queen]));
  Bitboard occupied = pos.occupied(), pinned = 0;
  while (snipers) {
    Bitboard between = BetweenBB[ksq][pop_lsb(snipers)] & occupied;
    if (between && !more_than_one(between)) pinned |= between & pos.ColourBB[Us];
  }
  return pinned;
}

struct Emitter {
  MoveEntry* cur;
  void add(Move m) { (cur++)->move = m; }
};

template <int Us>
inline void add_promotions(Emitter& e, int from, int to, int captured) {
  for (Move type : PromotionOrder) e.add(encode_move(from, to, make_piece(Us, Pawn), captured, make_piece(Us, type)));
}

// The en-passant capture tried on the bitboards: both pawns leave their squares,
// the capturer lands on the target, and the own king must not be attacked.
template <int Us>
inline bool ep_keeps_king_safe(const Position& pos, int from, int ep) {
  int victim = Us == White ? ep - 8 : ep + 8;
  Bitboard occupied = (pos.occupied() ^ SquareBB[from] ^ SquareBB[victim]) | SquareBB[ep];
  return !attacked_by_them<Us>(pos, pos.KingSq[Us], occupied, SquareBB[victim]);
}

template <int Us>
inline void add_en_passant(const Position& pos, Emitter& e) {
  constexpr int Them = other(Us);
  int ep = pos.EpTarget;
  if (!ep) return;
  Bitboard capturers = pos.PieceBB[Us][Pawn] & RelativeRankBB[Us][4] & PawnAttacks[Them][ep];
  while (capturers) {
    int from = pop_lsb(capturers);
    if (ep_keeps_king_safe<Us>(pos, from, ep)) e.add(encode_move(from, ep, make_piece(Us, Pawn)) | EpFlag);
  }
}

// Moves of one piece type to `targets`, pinned pieces kept on their pin line.
template <int Us, int Type>
inline void add_piece_moves(const Position& pos, Emitter& e, Bitboard targets, Bitboard pinned) {
  Bitboard pieces = pos.PieceBB[Us][Type];
  if (Type == Knight) pieces &= ~pinned;
  Bitboard occupied = pos.occupied();
  int ksq = pos.KingSq[Us];
  constexpr int code = make_piece(Us, Type);
  while (pieces) {
    int from = pop_lsb(pieces);
    Bitboard attacks = piece_attacks(Type, from, occupied) & targets;
    if (pinned & SquareBB[from]) attacks &= LineBB[ksq][from];
    while (attacks) {
      int to = pop_lsb(attacks);
      e.add(encode_move(from, to, code, pos.Board[to]));
    }
  }
}

template <int Us>
inline void add_king_moves(const Position& pos, Emitter& e, Bitboard targets) {
  int ksq = pos.KingSq[Us];
  Bitboard occupied = pos.occupied() ^ SquareBB[ksq];
  Bitboard moves = KingAttacks[ksq] & targets;
  while (moves) {
    int to = pop_lsb(moves);
    if (!attacked_by_them<Us>(pos, to, occupied, SquareBB[to]))
      e.add(encode_move(ksq, to, make_piece(Us, King), pos.Board[to]));
  }
}

// Pawn captures of one diagonal direction; `fromStep` leads back from target to origin.
template <int Us, bool West>
inline void add_pawn_captures(const Position& pos, Emitter& e, Bitboard pawns, Bitboard targets, Bitboard pinned) {
  constexpr int fromStep = West ? (Us == White ? -7 : 9) : (Us == White ? -9 : 7);
  constexpr Bitboard lastRank = Us == White ? 0xFF00000000000000ULL : 0xFFULL;
  int ksq = pos.KingSq[Us];
  Bitboard moves = (West ? pawn_attacks_west<Us>(pawns) : pawn_attacks_east<Us>(pawns)) & targets;
  while (moves) {
    int to = pop_lsb(moves), from = to + fromStep;
    if ((pinned & SquareBB[from]) && !(LineBB[ksq][from] & SquareBB[to])) continue;
    if (SquareBB[to] & lastRank)
      add_promotions<Us>(e, from, to, pos.Board[to]);
    else
      e.add(encode_move(from, to, make_piece(Us, Pawn), pos.Board[to]));
  }
}

template <int Us>
inline void add_pawn_pushes(const Position& pos, Emitter& e, Bitboard to_set, int distance, Bitboard pinned,
                            bool promote) {
  constexpr int up = Us == White ? 8 : -8;
  int ksq = pos.KingSq[Us];
  while (to_set) {
    int to = pop_lsb(to_set), from = to - up * distance;
    if ((pinned & SquareBB[from]) && !(LineBB[ksq][from] & SquareBB[to])) continue;
    if (promote)
      add_promotions<Us>(e, from, to, Empty);
    else
      e.add(encode_move(from, to, make_piece(Us, Pawn)));
  }
}

template <int Us>
void tactical(const Position& pos, Emitter& e) {
  constexpr int Them = other(Us);
  Bitboard pinned = pinned_pieces<Us>(pos);
  Bitboard empty = ~pos.occupied(), enemies = pos.ColourBB[Them] & ~pos.PieceBB[Them][King];
  Bitboard pawns = pos.PieceBB[Us][Pawn];
  Bitboard onSeventh = pawns & RelativeRankBB[Us][6];
  add_pawn_pushes<Us>(pos, e, pawn_push<Us>(onSeventh) & empty, 1, pinned, true);
  add_pawn_captures<Us, true>(pos, e, pawns, enemies, pinned);
  add_pawn_captures<Us, false>(pos, e, pawns, enemies, pinned);
  add_en_passant<Us>(pos, e);
  add_piece_moves<Us, Knight>(pos, e, enemies, pinned);
  add_piece_moves<Us, Bishop>(pos, e, enemies, pinned);
  add_piece_moves<Us, Rook>(pos, e, enemies, pinned);
  add_piece_moves<Us, Queen>(pos, e, enemies, pinned);
  add_king_moves<Us>(pos, e, enemies);
}

template <int Us>
void quiet(const Position& pos, Emitter& e) {
  Bitboard pinned = pinned_pieces<Us>(pos);
  Bitboard empty = ~pos.occupied();
  Bitboard pawns = pos.PieceBB[Us][Pawn] & ~RelativeRankBB[Us][6];
  Bitboard single = pawn_push<Us>(pawns) & empty;
  Bitboard twice = pawn_push<Us>(single & RelativeRankBB[Us][2]) & empty;
  add_pawn_pushes<Us>(pos, e, twice, 2, pinned, false);
  add_pawn_pushes<Us>(pos, e, single, 1, pinned, false);
  add_piece_moves<Us, Knight>(pos, e, empty, pinned);
  add_piece_moves<Us, Bishop>(pos, e, empty, pinned);
  add_piece_moves<Us, Rook>(pos, e, empty, pinned);
  add_piece_moves<Us, Queen>(pos, e, empty, pinned);
  add_king_moves<Us>(pos, e, empty);
  const Castling& ci = pos.CastleInfo[Us];
  int king = make_piece(Us, King), ksq = pos.KingSq[Us];
  if (ci.CanCastleOO && castling_allowed_oo(pos, Us))
    e.add(encode_move(ksq, BoardConfig.chess960 ? ci.RRookSq : ksq + 2, king) | CastleOO);
  if (ci.CanCastleOOO && castling_allowed_ooo(pos, Us))
    e.add(encode_move(ksq, BoardConfig.chess960 ? ci.LRookSq : ksq - 2, king) | CastleOOO);
}

template <int Us>
void evasions(const Position& pos, Emitter& e) {
  constexpr int Them = other(Us);
  int ksq = pos.KingSq[Us];
  Bitboard checkers = attackers_to(pos, ksq, pos.occupied()) & pos.ColourBB[Them];
  Bitboard notOwn = ~pos.ColourBB[Us];
  if (checkers && !more_than_one(checkers)) {
    int checker = lsb(checkers);
    Bitboard between = BetweenBB[ksq][checker];
    Bitboard pinned = pinned_pieces<Us>(pos);
    Bitboard pawns = pos.PieceBB[Us][Pawn] & ~pinned;
    constexpr Bitboard lastRank = Us == White ? 0xFF00000000000000ULL : 0xFFULL;
    // Pawns: captures of the checker, interpositions, en passant.
    Bitboard capturers = pawns & PawnAttacks[Them][checker];
    while (capturers) {
      int from = pop_lsb(capturers);
      if (SquareBB[checker] & lastRank)
        add_promotions<Us>(e, from, checker, pos.Board[checker]);
      else
        e.add(encode_move(from, checker, make_piece(Us, Pawn), pos.Board[checker]));
    }
    Bitboard empty = ~pos.occupied();
    Bitboard single = pawn_push<Us>(pawns) & empty;
    Bitboard twice = pawn_push<Us>(single & RelativeRankBB[Us][2]) & empty & between;
    single &= between;
    add_pawn_pushes<Us>(pos, e, single & lastRank, 1, 0, true);
    add_pawn_pushes<Us>(pos, e, single & ~lastRank, 1, 0, false);
    add_pawn_pushes<Us>(pos, e, twice, 2, 0, false);
    add_en_passant<Us>(pos, e);
    Bitboard targets = SquareBB[checker] | between;
    add_piece_moves<Us, Knight>(pos, e, targets, pinned);
    add_piece_moves<Us, Bishop>(pos, e, targets, pinned);
    add_piece_moves<Us, Rook>(pos, e, targets, pinned);
    add_piece_moves<Us, Queen>(pos, e, targets, pinned);
  }
  add_king_moves<Us>(pos, e, notOwn);
}

template <int Us>
bool castling_allowed(const Position& pos, int type) {
  constexpr int Them = other(Us);
  const Castling& ci = pos.CastleInfo[Us];
  int kingSq = pos.KingSq[Us], rookSq = type == 1 ? ci.RRookSq : ci.LRookSq;
  int base = Us == White ? A1 : A8;
  int kingTo = base + (type == 1 ? 6 : 2), rookTo = base + (type == 1 ? 5 : 3);
  if (pos.Board[kingSq] != make_piece(Us, King) || pos.Board[rookSq] != make_piece(Us, Rook)) return false;
  // Outside Chess960 a castling is written as the king's two-square step and lands
  // it on g1 or c1: only a king on e1 (e8) makes the text and the move agree.
  if (!BoardConfig.chess960 && kingSq != base + 4) return false;
  Bitboard occupied = pos.occupied();
  if (attacked_by_them<Us>(pos, kingSq, occupied)) return false;
  auto path_free = [&](int a, int b, bool safe) {
    for (int s = a < b ? a : b, end = a < b ? b : a; s <= end; s++) {
      if (pos.Board[s] && s != kingSq && s != rookSq) return false;
      if (safe && attacked_by_them<Us>(pos, s, occupied)) return false;
    }
    return true;
  };
  if (!path_free(kingSq, kingTo, true) || !path_free(rookSq, rookTo, false)) return false;
  // A rook on b1 leaving: an enemy rook or queen in the corner would then see the king.
  if (type == 2 && rookSq == base + 1) {
    int corner = pos.Board[base];
    if (corner == make_piece(Them, Rook) || corner == make_piece(Them, Queen)) return false;
  }
  return true;
}

inline MoveEntry* first_free(MoveList& list, int used) { return list.moves + 1 + used; }
}  // namespace

Bitboard attackers_to(const Position& pos, int sq, Bitboard occupied) {
  const auto& p = pos.PieceBB;
  return (PawnAttacks[White][sq] & p[Black][Pawn]) | (PawnAttacks[Black][sq] & p[White][Pawn]) |
         (KnightAttacks[sq] & (p[White][Knight] | p[Black][Knight])) |
         (KingAttacks[sq] & (p[White][King] | p[Black][King])) |
         (bishop_attacks(sq, occupied) & (p[White][Bishop] | p[Black][Bishop] | p[White][Queen] | p[Black][Queen])) |
         (rook_attacks(sq, occupied) & (p[White][Rook] | p[Black][Rook] | p[White][Queen] | p[Black][Queen]));
}

bool square_attacked(const Position& pos, int sq, int byColour) {
  return byColour == White ? attacked_by_them<Black>(pos, sq, pos.occupied())
                           : attacked_by_them<White>(pos, sq, pos.occupied());
}

bool in_check(const Position& pos) { return square_attacked(pos, pos.KingSq[pos.SideToMove], other(pos.SideToMove)); }

void generate_tactical(const Position& pos, MoveList& list) {
  Emitter e{first_free(list, 0)};
  pos.SideToMove == White ? tactical<White>(pos, e) : tactical<Black>(pos, e);
  list.tacticalCount = list.count = int(e.cur - first_free(list, 0));
}

void generate_quiet(const Position& pos, MoveList& list) {
  Emitter e{first_free(list, list.tacticalCount)};
  pos.SideToMove == White ? quiet<White>(pos, e) : quiet<Black>(pos, e);
  list.count = int(e.cur - first_free(list, 0));
}

void generate_evasions(const Position& pos, MoveList& list) {
  Emitter e{first_free(list, 0)};
  pos.SideToMove == White ? evasions<White>(pos, e) : evasions<Black>(pos, e);
  list.tacticalCount = 0;
  list.count = int(e.cur - first_free(list, 0));
}

void generate_legal(const Position& pos, MoveList& list) {
  if (in_check(pos)) {
    generate_evasions(pos, list);
  } else {
    generate_tactical(pos, list);
    generate_quiet(pos, list);
  }
}

bool move_in_list(const Position& pos, Move m) {
  MoveList list;
  generate_tactical(pos, list);
  generate_quiet(pos, list);
  for (int i = 1; i <= list.count; i++)
    if (list.moves[i].move == m) return true;
  return false;
}

bool castling_allowed_oo(const Position& pos, int colour) {
  return colour == White ? castling_allowed<White>(pos, 1) : castling_allowed<Black>(pos, 1);
}

bool castling_allowed_ooo(const Position& pos, int colour) {
  return colour == White ? castling_allowed<White>(pos, 2) : castling_allowed<Black>(pos, 2);
}

namespace {
// Exactly the word the generator writes for the castling, and the castling still
// allowed. Its target may be the rook's own square: Chess960 writes king takes rook.
bool castling_playable(const Position& pos, Move m) {
  int us = pos.SideToMove, type = CastleType(m);
  const Castling& ci = pos.CastleInfo[us];
  if ((type != 1 && type != 2) || !(type == 1 ? ci.CanCastleOO : ci.CanCastleOOO)) return false;
  int ksq = pos.KingSq[us], rookSq = type == 1 ? ci.RRookSq : ci.LRookSq;
  int to = BoardConfig.chess960 ? rookSq : type == 1 ? ksq + 2 : ksq - 2;
  if (m != (encode_move(ksq, to, make_piece(us, King)) | (type == 1 ? CastleOO : CastleOOO))) return false;
  return type == 1 ? castling_allowed_oo(pos, us) : castling_allowed_ooo(pos, us);
}
}  // namespace

bool move_playable(const Position& pos, Move m) {
  int from = From(m), to = To(m), piece = MovedPiece(m), captured = CapturedPiece(m);
  int us = pos.SideToMove, them = other(us);
  if (!m || from == to || !piece || pos.Board[from] != piece || PieceColourOf[piece] != us) return false;
  if (CastleType(m)) return castling_playable(pos, m);
  // A stored word may be garbage: piece fields beyond the twelve codes match nothing.
  if (captured > BlackKing || PromotionPiece(m) > BlackKing) return false;
  if (captured) {
    if (PieceColourOf[captured] != them || PieceTypeOf[captured] == King || pos.Board[to] != captured) return false;
  } else if (pos.Board[to]) {
    return false;
  }
  Bitboard occupied = pos.occupied();
  switch (PieceTypeOf[piece]) {
    case Pawn: {
      if (EpCapture(m)) {
        int victim = us == White ? to - 8 : to + 8;
        return pos.EpTarget && to == pos.EpTarget && pos.Board[victim] == make_piece(them, Pawn) &&
               (PawnAttacks[us][from] & SquareBB[to]);
      }
      int promoted = PromotionPiece(m);
      bool toLastRank = relative_rank(us, to) == 7;
      if (promoted) {
        int type = PieceTypeOf[promoted];
        if (PieceColourOf[promoted] != us || type < Knight || type > Queen || !toLastRank) return false;
      } else if (toLastRank) {
        return false;
      }
      if (captured) return (PawnAttacks[us][from] & SquareBB[to]) != 0;
      int up = us == White ? 8 : -8;
      if (to == from + up) return true;
      return to == from + 2 * up && relative_rank(us, from) == 1 && !pos.Board[from + up];
    }
    case Knight:
    case Bishop:
    case Rook:
    case Queen: return (piece_attacks(PieceTypeOf[piece], to, occupied) & SquareBB[from]) != 0;
    case King: return (KingAttacks[from] & SquareBB[to]) != 0;
    default: return false;
  }
}

bool move_keeps_king_safe(const Position& pos, Move m) {
  if (CastleType(m)) return true;
  int us = pos.SideToMove, from = From(m), to = To(m);
  int ksq = PieceTypeOf[MovedPiece(m)] == King ? to : pos.KingSq[us];
  Bitboard removed = SquareBB[to];
  Bitboard occupied = (pos.occupied() ^ SquareBB[from]) | SquareBB[to];
  if (EpCapture(m)) {
    int victim = us == White ? to - 8 : to + 8;
    occupied ^= SquareBB[victim];
    removed = SquareBB[victim];
  }
  return us == White ? !attacked_by_them<White>(pos, ksq, occupied, removed)
                     : !attacked_by_them<Black>(pos, ksq, occupied, removed);
}

bool gives_check(const Position& pos, Move m) {
  int us = pos.SideToMove, them = other(us);
  int ksq = pos.KingSq[them];
  const auto& own = pos.PieceBB[us];
  Bitboard occupied = pos.occupied();
  if (int type = CastleType(m)) {
    const Castling& ci = pos.CastleInfo[us];
    int base = us == White ? A1 : A8;
    int rookFrom = type == 1 ? ci.RRookSq : ci.LRookSq;
    int kingTo = base + (type == 1 ? 6 : 2), rookTo = base + (type == 1 ? 5 : 3);
    occupied = (occupied ^ SquareBB[ci.CastleKingSq] ^ SquareBB[rookFrom]) | SquareBB[kingTo] | SquareBB[rookTo];
    return (rook_attacks(rookTo, occupied) & SquareBB[ksq]) != 0;
  }
  int from = From(m), to = To(m);
  int movedType = PromotionPiece(m) ? PieceTypeOf[PromotionPiece(m)] : PieceTypeOf[MovedPiece(m)];
  occupied = (occupied ^ SquareBB[from]) | SquareBB[to];
  if (EpCapture(m)) occupied ^= SquareBB[us == White ? to - 8 : to + 8];
  Bitboard target = SquareBB[ksq];
  switch (movedType) {
    case Pawn:
      if (PawnAttacks[us][to] & target) return true;
      break;
    case Knight:
    case Bishop:
    case Rook:
    case Queen:
      if (piece_attacks(movedType, to, occupied) & target) return true;
      break;
    default: break;
  }
  // Discovered: an own slider (not the moved piece) now sees the king.
  Bitboard movedAway = ~SquareBB[from];
  return ((bishop_attacks(ksq, occupied) & (own[Bishop] | own[Queen]) & movedAway) |
          (rook_attacks(ksq, occupied) & (own[Rook] | own[Queen]) & movedAway)) != 0;
}
