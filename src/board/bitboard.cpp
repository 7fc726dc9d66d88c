#include "board/bitboard.h"

#include <cstdlib>

BoardSettings BoardConfig;
int TableAge = 0;
PrefetchTarget TablePrefetch;

Bitboard SquareBB[64];
Bitboard ClearBB[64];
Bitboard FileBB[8];
Bitboard RankBB[8];
Bitboard RelativeRankBB[2][8];
Bitboard AdjacentFilesBB[8];
Bitboard FilesAtoG, FilesBtoH, FilesAtoD, FilesEtoH, FilesAtoC, FilesFtoH;
Bitboard CentreBB;
int SquareColour[64];
Bitboard SquareColourBB[2];
Bitboard PawnAttacks[2][64];
Bitboard KnightAttacks[64];
Bitboard KingAttacks[64];
int Direction[64][64];
Bitboard Rays[8][64];
Bitboard BetweenBB[64][64];
Bitboard LineBB[64][64];
int Distance[64][64];
Bitboard FrontFileBB[2][64];
Bitboard PassedPawnMask[2][64];
Bitboard NeighbourSpanBB[2][64];
Bitboard KingZoneBB[2][64];
Bitboard PawnSquareBB[2][64];
uint8_t PopCount16[65536];
uint8_t FirstBit16[65536];
uint8_t LastBit16[65536];

void init_magics();  // magics.cpp

namespace {
// The 10x12 board: square s sits at cell 21 + 10 * rank + file; the border is off-board.
int Mailbox120[120];  // 1 off-board, 0 on the board
int CellToSquare[120];

constexpr int cell_of(int sq) { return 21 + 10 * rank_of(sq) + file_of(sq); }

// King and queen steps on the 10x12 board and their 64-square equivalents, same order.
constexpr int KingSteps120[8] = {-9, -11, 9, 11, -1, 10, 1, -10};
constexpr int KingSteps64[8] = {-7, -9, 7, 9, -1, 8, 1, -8};
constexpr int KnightSteps120[8] = {19, 21, 12, -8, -19, -21, -12, 8};

void init_mailbox() {
  for (int c = 0; c < 120; c++) {
    Mailbox120[c] = 1;
    CellToSquare[c] = -1;
  }
  for (int sq = 0; sq < 64; sq++) {
    Mailbox120[cell_of(sq)] = 0;
    CellToSquare[cell_of(sq)] = sq;
  }
}

Bitboard step_targets(int sq, const int* steps, int count) {
  Bitboard b = 0;
  for (int i = 0; i < count; i++) {
    int cell = cell_of(sq) + steps[i];
    if (!Mailbox120[cell]) b |= SquareBB[CellToSquare[cell]];
  }
  return b;
}

void init_square_masks() {
  for (int sq = 0; sq < 64; sq++) {
    SquareBB[sq] = 1ULL << sq;
    ClearBB[sq] = ~SquareBB[sq];
  }
}

void init_files_and_ranks() {
  for (int i = 0; i < 8; i++) {
    FileBB[i] = 0x0101010101010101ULL << i;
    RankBB[i] = 0xFFULL << (8 * i);
  }
  for (int r = 0; r < 8; r++) {
    RelativeRankBB[White][r] = RankBB[r];
    RelativeRankBB[Black][r] = RankBB[7 - r];
  }
}

void init_pawn_attacks() {
  constexpr int white[2] = {9, 11}, black[2] = {-9, -11};
  for (int sq = 0; sq < 64; sq++) {
    PawnAttacks[White][sq] = step_targets(sq, white, 2);
    PawnAttacks[Black][sq] = step_targets(sq, black, 2);
  }
}

void init_knight_and_king_attacks() {
  for (int sq = 0; sq < 64; sq++) {
    KnightAttacks[sq] = step_targets(sq, KnightSteps120, 8);
    KingAttacks[sq] = step_targets(sq, KingSteps120, 8);
  }
  // The zone around a king still near its own first rank, where its shelter stands.
  for (int sq = 0; sq < 64; sq++) {
    KingZoneBB[White][sq] = KingZoneBB[Black][sq] = 0;
    if (rank_of(sq) <= 2) {
      Bitboard zone = KingAttacks[sq];
      if (rank_of(sq) <= 1) zone |= KingAttacks[sq + 8];
      KingZoneBB[White][sq] = zone & ClearBB[sq];
    }
    if (rank_of(sq) >= 5) {
      Bitboard zone = KingAttacks[sq];
      if (rank_of(sq) >= 6) zone |= KingAttacks[sq - 8];
      KingZoneBB[Black][sq] = zone & ClearBB[sq];
    }
  }
}

void init_directions_and_rays() {
  for (int sq = 0; sq < 64; sq++) {
    for (int d = 0; d < 8; d++) {
      Rays[d][sq] = 0;
      for (int cell = cell_of(sq) + KingSteps120[d]; !Mailbox120[cell]; cell += KingSteps120[d]) {
        int reached = CellToSquare[cell];
        Direction[sq][reached] = KingSteps64[d];
        Rays[d][sq] |= SquareBB[reached];
      }
    }
  }
}

void init_pawn_structure_masks() {
  for (int f = 0; f < 8; f++) AdjacentFilesBB[f] = (f > 0 ? FileBB[f - 1] : 0) | (f < 7 ? FileBB[f + 1] : 0);
  for (int sq = 0; sq < 64; sq++) {
    for (int c = Black; c <= White; c++) FrontFileBB[c][sq] = PassedPawnMask[c][sq] = NeighbourSpanBB[c][sq] = 0;
    int r = rank_of(sq), f = file_of(sq);
    if (r == 0 || r == 7) continue;
    Bitboard above = ~0ULL << (8 * (r + 1));
    Bitboard below = (1ULL << (8 * r)) - 1;
    Bitboard beside = AdjacentFilesBB[f] & RankBB[r];
    FrontFileBB[White][sq] = FileBB[f] & above;
    FrontFileBB[Black][sq] = FileBB[f] & below;
    PassedPawnMask[White][sq] = (FileBB[f] | AdjacentFilesBB[f]) & above;
    PassedPawnMask[Black][sq] = (FileBB[f] | AdjacentFilesBB[f]) & below;
    NeighbourSpanBB[White][sq] = beside | (AdjacentFilesBB[f] & below);
    NeighbourSpanBB[Black][sq] = beside | (AdjacentFilesBB[f] & above);
  }
}

void init_distances() {
  for (int a = 0; a < 64; a++)
    for (int b = 0; b < 64; b++) {
      int df = std::abs(file_of(a) - file_of(b)), dr = std::abs(rank_of(a) - rank_of(b));
      Distance[a][b] = df > dr ? df : dr;
    }
}

int ray_index(int step) {
  for (int d = 0; d < 8; d++)
    if (KingSteps64[d] == step) return d;
  return -1;
}

void init_between_masks() {
  for (int from = 0; from < 64; from++)
    for (int to = 0; to < 64; to++) {
      int d = Direction[from][to];
      BetweenBB[from][to] = LineBB[from][to] = 0;
      if (d == 0) continue;
      int fwd = ray_index(d), back = ray_index(-d);
      BetweenBB[from][to] = Rays[fwd][from] ^ Rays[fwd][to] ^ SquareBB[to];
      LineBB[from][to] = Rays[fwd][from] | Rays[back][from] | SquareBB[from];
    }
}

void init_file_groups_and_colours() {
  FilesAtoG = FilesBtoH = FilesAtoD = FilesEtoH = FilesAtoC = FilesFtoH = 0;
  for (int f = 0; f < 8; f++) {
    if (f <= 6) FilesAtoG |= FileBB[f];
    if (f >= 1) FilesBtoH |= FileBB[f];
    if (f <= 3) FilesAtoD |= FileBB[f];
    if (f >= 4) FilesEtoH |= FileBB[f];
    if (f <= 2) FilesAtoC |= FileBB[f];
    if (f >= 5) FilesFtoH |= FileBB[f];
  }
  CentreBB = SquareBB[D4] | SquareBB[E4] | SquareBB[D5] | SquareBB[E5];
  SquareColourBB[0] = SquareColourBB[1] = 0;
  for (int sq = 0; sq < 64; sq++) {
    SquareColour[sq] = (file_of(sq) + rank_of(sq)) & 1;
    SquareColourBB[SquareColour[sq]] |= SquareBB[sq];
  }
}

// The rule of the square: the zone a king must stand in to catch the pawn.
void init_pawn_squares() {
  for (int sq = 0; sq < 64; sq++) PawnSquareBB[White][sq] = PawnSquareBB[Black][sq] = 0;
  for (int sq = 8; sq < 56; sq++) {
    int r = rank_of(sq), f = file_of(sq);
    int c = r == 1 ? 5 : 7 - r;
    int firstRank = r == 1 ? 2 : r;
    Bitboard zone = 0;
    for (int s = 0; s < 64; s++)
      if (std::abs(file_of(s) - f) <= c && rank_of(s) >= firstRank) zone |= SquareBB[s];
    PawnSquareBB[White][sq] = zone;
  }
  for (int sq = 8; sq < 56; sq++) {
    Bitboard mirrored = 0, zone = PawnSquareBB[White][FlipSquare(sq)];
    while (zone) mirrored |= SquareBB[FlipSquare(pop_lsb(zone))];
    PawnSquareBB[Black][sq] = mirrored;
  }
}

void init_bit_tables() {
  PopCount16[0] = FirstBit16[0] = LastBit16[0] = 0;
  for (int v = 1; v < 65536; v++) {
    int count = 0, first = -1, last = 0;
    for (int b = 0; b < 16; b++)
      if (v >> b & 1) {
        count++;
        if (first < 0) first = b;
        last = b;
      }
    PopCount16[v] = uint8_t(count);
    FirstBit16[v] = uint8_t(first);
    LastBit16[v] = uint8_t(last);
  }
}
}  // namespace

void init_tables() {
  init_mailbox();
  init_square_masks();
  init_files_and_ranks();
  init_pawn_attacks();
  init_knight_and_king_attacks();
  init_directions_and_rays();
  init_pawn_structure_masks();
  init_distances();
  init_between_masks();
  init_file_groups_and_colours();
  init_pawn_squares();
  init_bit_tables();
  init_magics();
}
