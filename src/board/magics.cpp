// Sliding attacks through magic multiplication, one attack table per square.
#include "board/bitboard.h"

Magic BishopMagics[64];
Magic RookMagics[64];

namespace {
struct MagicConstant {
  Bitboard multiplier;
  int width;  // index bits
};

// Multipliers found by random search (scripts/find_magics.cpp) for these widths; every
// width equals the number of mask squares.
constexpr MagicConstant BishopConstants[64] = {
    {0x0009100100440080ull, 6}, {0x0A09680092820001ull, 5}, {0x40100430624200A0ull, 5}, {0x00220A02008C0000ull, 5},
    {0x0001104020000400ull, 5}, {0x0060901008000201ull, 5}, {0x0022123004042008ull, 5}, {0x1006008C44122000ull, 6},
    {0x206005090A080600ull, 5}, {0x0000080880840448ull, 5}, {0x0020102C10802422ull, 5}, {0x8A50420A02002810ull, 5},
    {0x2000020210880020ull, 5}, {0x1800409010082440ull, 5}, {0x00A101042120080Aull, 5}, {0x8020020044020815ull, 5},
    {0x0020024004114610ull, 5}, {0x0160046802208221ull, 5}, {0x20A8081040802203ull, 7}, {0x0030208802802002ull, 7},
    {0x400C045284A00243ull, 7}, {0x8A008004480C4000ull, 7}, {0x0002480402181400ull, 5}, {0x122188010088B000ull, 5},
    {0x0008400008020802ull, 5}, {0x0012A04008280080ull, 5}, {0x0000480009120400ull, 7}, {0x1810040040401020ull, 9},
    {0x0401001029004008ull, 9}, {0x0010820005010080ull, 7}, {0x0008022000808404ull, 5}, {0x080A062014808840ull, 5},
    {0x0A10088A18200202ull, 5}, {0x04008414A9111001ull, 5}, {0x0102003000420280ull, 7}, {0x000C042008040100ull, 9},
    {0x0000420022060080ull, 9}, {0x840D100100042408ull, 7}, {0xA0100101010200A1ull, 5}, {0x0204090450322400ull, 5},
    {0x5204018808804101ull, 5}, {0x0040820860288201ull, 5}, {0x0000082804004800ull, 7}, {0x0002202214000804ull, 7},
    {0x0901206008808500ull, 7}, {0x0881110121001200ull, 7}, {0x0008101148400608ull, 5}, {0x00145400820A0020ull, 5},
    {0x120C2A0202200290ull, 5}, {0x0100804402200008ull, 5}, {0x0000020211440012ull, 5}, {0x53000C00840400A0ull, 5},
    {0x0280009002022010ull, 5}, {0x0000400801010320ull, 5}, {0x0420440408006200ull, 5}, {0xE008180110520018ull, 5},
    {0x0002020202010444ull, 6}, {0x0000184118011040ull, 5}, {0x6120400200427800ull, 5}, {0x8080000040842408ull, 5},
    {0x1018000008210100ull, 5}, {0x000004405C880221ull, 5}, {0x4006062014150210ull, 5}, {0x0A02580A20840103ull, 6},
};

constexpr MagicConstant RookConstants[64] = {
    {0x1080088040001020ull, 12}, {0x0440042000415000ull, 11}, {0x0300114009022000ull, 11}, {0x0100210008041000ull, 11},
    {0x0500102801001402ull, 11}, {0x0300010002040008ull, 11}, {0x0400081000820144ull, 11}, {0x4280004820800100ull, 12},
    {0x9400802040008000ull, 11}, {0x2411400041A01000ull, 10}, {0x0284808020001000ull, 10}, {0x0800808010000800ull, 10},
    {0x101080480080C400ull, 10}, {0x0000808002000400ull, 10}, {0x8064001004080201ull, 10}, {0x0002000A01009844ull, 11},
    {0x6208248010400080ull, 11}, {0x1920004010002044ull, 10}, {0x1200818020009004ull, 10}, {0x1010004008004400ull, 10},
    {0x0408004004004200ull, 10}, {0x1005010008040002ull, 10}, {0x080004000110C208ull, 10}, {0xC210020001941641ull, 11},
    {0x0080004040002000ull, 11}, {0x2700200040005000ull, 10}, {0x0040100480200080ull, 10}, {0x0020080080801000ull, 10},
    {0x4004080080040080ull, 10}, {0x0004004040020100ull, 10}, {0x0084900400080201ull, 10}, {0x9000004200010084ull, 11},
    {0x0080002002400052ull, 11}, {0x0100201002400040ull, 10}, {0x1110100080802008ull, 10}, {0x4810100080800800ull, 10},
    {0x0020080080800400ull, 10}, {0x1000020080800400ull, 10}, {0x0080818804000210ull, 10}, {0x810000450200009Cull, 11},
    {0x0080400820848000ull, 11}, {0x0040002000808040ull, 10}, {0x1200100020008080ull, 10}, {0x0010040008004040ull, 10},
    {0x0010040008008080ull, 10}, {0x0022000400028080ull, 10}, {0x0010810810840002ull, 10}, {0x0201118418520005ull, 11},
    {0x0080004000200040ull, 11}, {0x4000802000400180ull, 10}, {0x00041041200B0100ull, 10}, {0x00088A2100100300ull, 10},
    {0x300A910004080100ull, 10}, {0x0504040002008080ull, 10}, {0x0080220108108400ull, 10}, {0x0205000200429700ull, 11},
    {0x0002022440130082ull, 12}, {0x0010D02040008303ull, 11}, {0x2206401009002001ull, 11}, {0x0402900008A00501ull, 11},
    {0x0802000420100802ull, 11}, {0x040200180410019Eull, 11}, {0x1040080081100204ull, 11}, {0x0A00882084150242ull, 12},
};

constexpr int table_size(const MagicConstant (&constants)[64]) {
  int total = 0;
  for (const auto& c : constants) total += 1 << c.width;
  return total;
}

Bitboard BishopTable[table_size(BishopConstants)];
Bitboard RookTable[table_size(RookConstants)];

constexpr int BishopSteps[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
constexpr int RookSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

// Walks each direction one step at a time, stopping after the first occupied square.
Bitboard walk_attacks(int sq, Bitboard occupied, const int (&steps)[4][2]) {
  Bitboard attacks = 0;
  for (const auto& step : steps) {
    int f = file_of(sq) + step[0], r = rank_of(sq) + step[1];
    while (f >= 0 && f < 8 && r >= 0 && r < 8) {
      int s = make_square(f, r);
      attacks |= SquareBB[s];
      if (occupied & SquareBB[s]) break;
      f += step[0];
      r += step[1];
    }
  }
  return attacks;
}

// The squares whose occupancy matters: the lines without the board edge beyond them.
Bitboard relevant_mask(int sq, const int (&steps)[4][2]) {
  Bitboard mask = 0;
  for (const auto& step : steps) {
    int f = file_of(sq) + step[0], r = rank_of(sq) + step[1];
    while (f + step[0] >= 0 && f + step[0] < 8 && r + step[1] >= 0 && r + step[1] < 8) {
      mask |= SquareBB[make_square(f, r)];
      f += step[0];
      r += step[1];
    }
  }
  return mask;
}

void fill(Magic (&magics)[64], const MagicConstant (&constants)[64], Bitboard* table, const int (&steps)[4][2]) {
  Bitboard* start = table;
  for (int sq = 0; sq < 64; sq++) {
    Magic& m = magics[sq];
    m.mask = relevant_mask(sq, steps);
    m.multiplier = constants[sq].multiplier;
    m.shift = 64 - constants[sq].width;
    m.attacks = start;
    int maskSquares[12], n = 0;
    for (Bitboard b = m.mask; b;) maskSquares[n++] = pop_lsb(b);
    for (int k = 0; k < (1 << n); k++) {
      Bitboard occupied = 0;
      for (int l = 0; l < n; l++)
        if (k >> l & 1) occupied |= SquareBB[maskSquares[l]];
      start[(occupied * m.multiplier) >> m.shift] = walk_attacks(sq, occupied, steps);
    }
    start += 1 << constants[sq].width;
  }
}
}  // namespace

void init_magics() {
  fill(BishopMagics, BishopConstants, BishopTable, BishopSteps);
  fill(RookMagics, RookConstants, RookTable, RookSteps);
}
