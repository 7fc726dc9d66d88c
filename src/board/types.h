// The basic vocabulary of the board: squares, colours, piece codes, the move word
// and the middlegame/endgame score pair.
#pragma once

#include <cstdint>

using Bitboard = uint64_t;
using Key = uint64_t;
using Move = uint32_t;

// Colours index every per-colour array, black first.
enum Colour : int { Black = 0, White = 1 };

constexpr int other(int colour) { return colour ^ 1; }

// PieceType 1..6; PieceCode 1..6 white, 7..12 black, 0 empty.
enum PieceType : int { NoPieceType = 0, Pawn = 1, Knight = 2, Bishop = 3, Rook = 4, Queen = 5, King = 6 };

enum PieceCode : int {
  Empty = 0,
  WhitePawn = 1,
  WhiteKnight,
  WhiteBishop,
  WhiteRook,
  WhiteQueen,
  WhiteKing,
  BlackPawn = 7,
  BlackKnight,
  BlackBishop,
  BlackRook,
  BlackQueen,
  BlackKing,
};

constexpr int PieceTypeOf[13] = {0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6};
constexpr int PieceColourOf[13] = {0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0};

constexpr int make_piece(int colour, int type) { return colour == White ? type : type + 6; }

// clang-format off
enum Square : int {
  A1, B1, C1, D1, E1, F1, G1, H1,
  A2, B2, C2, D2, E2, F2, G2, H2,
  A3, B3, C3, D3, E3, F3, G3, H3,
  A4, B4, C4, D4, E4, F4, G4, H4,
  A5, B5, C5, D5, E5, F5, G5, H5,
  A6, B6, C6, D6, E6, F6, G6, H6,
  A7, B7, C7, D7, E7, F7, G7, H7,
  A8, B8, C8, D8, E8, F8, G8, H8,
};
// clang-format on

constexpr int file_of(int sq) { return sq & 7; }
constexpr int rank_of(int sq) { return sq >> 3; }
constexpr int make_square(int file, int rank) { return rank * 8 + file; }
// The rank counted from the colour's own first rank (0..7).
constexpr int relative_rank(int colour, int sq) { return colour == White ? rank_of(sq) : 7 - rank_of(sq); }
constexpr int FlipSquare(int sq) { return sq ^ 56; }
// The square seen from the colour's side of the board (White's squares as given).
constexpr int relative_square(int colour, int sq) { return colour == White ? sq : FlipSquare(sq); }
// One square forward for the colour's pawns.
constexpr int push_step(int colour) { return colour == White ? 8 : -8; }

// The move word: From 0-5, To 6-11, MovedPiece 12-15, CapturedPiece 16-19,
// PromotionPiece 20-23, CastleType 24-27 (1 O-O, 2 O-O-O), EpCapture bit 28.
constexpr int From(Move m) { return m & 63; }
constexpr int To(Move m) { return (m >> 6) & 63; }
constexpr int MovedPiece(Move m) { return (m >> 12) & 15; }
constexpr int CapturedPiece(Move m) { return (m >> 16) & 15; }
constexpr int PromotionPiece(Move m) { return (m >> 20) & 15; }
constexpr int CastleType(Move m) { return (m >> 24) & 15; }
constexpr int EpCapture(Move m) { return (m >> 28) & 1; }

constexpr Move encode_move(int from, int to, int moved, int captured = 0, int promotion = 0) {
  return Move(from) | Move(to) << 6 | Move(moved) << 12 | Move(captured) << 16 | Move(promotion) << 20;
}
constexpr Move CastleOO = 1u << 24;
constexpr Move CastleOOO = 2u << 24;
constexpr Move EpFlag = 1u << 28;

// A capture, a promotion or an en-passant capture.
constexpr bool is_tactical(Move m) { return (m & 0x10FF0000u) != 0; }

// Middlegame and endgame halves, each kept as a wrapping signed 16-bit value.
struct ScorePair {
  int16_t mg = 0;
  int16_t eg = 0;
};

constexpr ScorePair operator+(ScorePair a, ScorePair b) { return {int16_t(a.mg + b.mg), int16_t(a.eg + b.eg)}; }
constexpr ScorePair operator-(ScorePair a, ScorePair b) { return {int16_t(a.mg - b.mg), int16_t(a.eg - b.eg)}; }
constexpr ScorePair& operator+=(ScorePair& a, ScorePair b) { return a = a + b; }
constexpr ScorePair& operator-=(ScorePair& a, ScorePair b) { return a = a - b; }
constexpr bool operator==(ScorePair a, ScorePair b) { return a.mg == b.mg && a.eg == b.eg; }

// Middlegame and endgame halves summed in plain ints; the pair is cut to 16 bits
// once at the end, which gives the same wrapped result as cutting after every addition.
struct Tally {
  int mg = 0, eg = 0;
  void add(int m, int e) { mg += m, eg += e; }
  void add(ScorePair p, int times = 1) { mg += p.mg * times, eg += p.eg * times; }
  void add(const Tally& t, int sign) { mg += sign * t.mg, eg += sign * t.eg; }
  void add_both(int v) { mg += v, eg += v; }
  ScorePair pair() const { return {int16_t(mg), int16_t(eg)}; }
};
