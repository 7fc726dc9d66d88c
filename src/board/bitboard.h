// Square sets and the read-only tables filled once at start-up: masks, attack
// tables (sliders through magic multiplication), lines, distances, pawn-structure
// masks, bit-counting tables and the piece-square table.
#pragma once

#include <bit>

#include "board/settings.h"
#include "board/types.h"

extern Bitboard SquareBB[64];
extern Bitboard ClearBB[64];
extern Bitboard FileBB[8];
extern Bitboard RankBB[8];
extern Bitboard RelativeRankBB[2][8];
extern Bitboard AdjacentFilesBB[8];
extern Bitboard FilesAtoG, FilesBtoH, FilesAtoD, FilesEtoH, FilesAtoC, FilesFtoH;
extern Bitboard CentreBB;
extern int SquareColour[64];
extern Bitboard SquareColourBB[2];
extern Bitboard PawnAttacks[2][64];
extern Bitboard KnightAttacks[64];
extern Bitboard KingAttacks[64];
extern int Direction[64][64];
extern Bitboard Rays[8][64];
extern Bitboard BetweenBB[64][64];
extern int Distance[64][64];
extern Bitboard FrontFileBB[2][64];
extern Bitboard PassedPawnMask[2][64];
extern Bitboard NeighbourSpanBB[2][64];
extern Bitboard KingZoneBB[2][64];
extern Bitboard PawnSquareBB[2][64];
extern uint8_t PopCount16[65536];
extern uint8_t FirstBit16[65536];
extern uint8_t LastBit16[65536];

// The full line through two squares (board edge to board edge), empty when they
// share no line. Derived from the rays; used for pins.
extern Bitboard LineBB[64][64];

struct Magic {
  Bitboard mask;
  Bitboard multiplier;
  unsigned shift;
  const Bitboard* attacks;
};
extern Magic BishopMagics[64];
extern Magic RookMagics[64];

// Fills every table above; runs once at program start before anything else.
void init_tables();

inline Bitboard bishop_attacks(int sq, Bitboard occupied) {
  const Magic& m = BishopMagics[sq];
  return m.attacks[((occupied & m.mask) * m.multiplier) >> m.shift];
}
inline Bitboard rook_attacks(int sq, Bitboard occupied) {
  const Magic& m = RookMagics[sq];
  return m.attacks[((occupied & m.mask) * m.multiplier) >> m.shift];
}
inline Bitboard queen_attacks(int sq, Bitboard occupied) {
  return bishop_attacks(sq, occupied) | rook_attacks(sq, occupied);
}
// What a knight, bishop, rook or queen on `sq` attacks; any other type counts as a queen.
inline Bitboard piece_attacks(int type, int sq, Bitboard occupied) {
  switch (type) {
    case Knight: return KnightAttacks[sq];
    case Bishop: return bishop_attacks(sq, occupied);
    case Rook: return rook_attacks(sq, occupied);
    default: return queen_attacks(sq, occupied);
  }
}

inline int popcount_by_table(Bitboard b) {
  return PopCount16[b & 0xFFFF] + PopCount16[(b >> 16) & 0xFFFF] + PopCount16[(b >> 32) & 0xFFFF] + PopCount16[b >> 48];
}
// The option SSE_Popcount chooses between the instruction and the 16-bit table.
inline int popcount(Bitboard b) { return BoardConfig.ssePopcount ? std::popcount(b) : popcount_by_table(b); }
inline int lsb(Bitboard b) { return std::countr_zero(b); }
inline int msb(Bitboard b) { return 63 - std::countl_zero(b); }
inline int pop_lsb(Bitboard& b) {
  int sq = lsb(b);
  b &= b - 1;
  return sq;
}
inline bool more_than_one(Bitboard b) { return (b & (b - 1)) != 0; }

template <int colour>
constexpr Bitboard pawn_push(Bitboard b) {
  return colour == White ? b << 8 : b >> 8;
}
// Squares attacked by a set of pawns toward the a-side and toward the h-side.
template <int colour>
constexpr Bitboard pawn_attacks_west(Bitboard b) {
  constexpr Bitboard notFileA = ~0x0101010101010101ULL;
  return colour == White ? (b & notFileA) << 7 : (b & notFileA) >> 9;
}
template <int colour>
constexpr Bitboard pawn_attacks_east(Bitboard b) {
  constexpr Bitboard notFileH = ~0x8080808080808080ULL;
  return colour == White ? (b & notFileH) << 9 : (b & notFileH) >> 7;
}
inline Bitboard pawn_attacks_set(int colour, Bitboard pawns) {
  return colour == White ? pawn_attacks_west<White>(pawns) | pawn_attacks_east<White>(pawns)
                         : pawn_attacks_west<Black>(pawns) | pawn_attacks_east<Black>(pawns);
}
