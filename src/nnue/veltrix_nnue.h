/* The network probing functions of veltrix for other programs, usable from C and
   C++. Link with libveltrix_nnue.so, or look the names up in the veltrix program.
   An install puts the default network file, to name to nnue_init, in
   share/veltrix/ beside lib/ and include/.

   Piece codes: 0 end of list, 1..6 white king, queen, rook, bishop, knight, pawn,
   7..12 black king .. pawn. Squares: 0 = a1, 1 = b1, ..., 63 = h8. Side to move:
   0 white, 1 black. The piece list holds the white king in slot 0, the black king
   in slot 1, every other piece from slot 2 on, and 0 after the last piece; the
   square list runs parallel to it. Both have room for 33 entries.

   Scores are in network units for the side to move. nnue_init must have loaded a
   network before anything is evaluated. */
#ifndef VELTRIX_NNUE_H
#define VELTRIX_NNUE_H

#include <stdint.h>

#ifdef __cplusplus
#define VELTRIX_NNUE_ALIGN64 alignas(64)
extern "C" {
#else
#define VELTRIX_NNUE_ALIGN64 _Alignas(64)
#endif

/* One move's effect on the board: up to three pieces, each leaving `from` and
   arriving on `to`; 64 stands for "off the board". Entry 0 is the piece that moved
   (the king when castling), since a king move is recognised by entry 0 alone. */
typedef struct NnuePieceChanges {
  int32_t count;
  int32_t piece[3];
  int32_t from[3];
  int32_t to[3];
} NnuePieceChanges;

/* One ply's accumulator. Records must start on a 64-byte boundary. Set `computed`
   to 0 and fill `PieceChanges` (the move that led here) for every new ply; keep the
   records of the two plies before it untouched so they can serve as a base. */
typedef struct NnuePlyData {
  VELTRIX_NNUE_ALIGN64 int16_t accumulator[2][256]; /* row 0 white's view, row 1 black's */
  int32_t computed;
  char fill[60];
  NnuePieceChanges PieceChanges;
} NnuePlyData;

/* Loads a network file, printing what it does to standard output. */
void nnue_init(const char* fileName);

/* Evaluates the position from scratch. */
int nnue_evaluate(int side, const int* pieces, const int* squares);

/* Evaluates with the caller's records: nnue[0] this ply (required, 64-byte
   aligned), nnue[1] one ply back and nnue[2] two plies back (either may be null).
   Stops the process when nnue[0] is null or misaligned. */
int nnue_evaluate_incremental(int side, const int* pieces, const int* squares, NnuePlyData** nnue);

/* Evaluates the position of a FEN text; castling and en-passant fields are ignored. */
int nnue_evaluate_fen(const char* fen);

#ifdef __cplusplus
}
#endif

#endif
