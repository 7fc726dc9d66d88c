/* Compiled as C only: the public header builds and lays the record out as the
   callers of nnue_evaluate_incremental expect. */
#include <stddef.h>

#include "veltrix_nnue.h"

_Static_assert(offsetof(NnuePlyData, accumulator) == 0, "accumulator");
_Static_assert(offsetof(NnuePlyData, computed) == 1024, "computed");
_Static_assert(offsetof(NnuePlyData, PieceChanges) == 1088, "changes count");
_Static_assert(offsetof(NnuePlyData, PieceChanges.piece) == 1092, "changed pieces");
_Static_assert(offsetof(NnuePlyData, PieceChanges.from) == 1104, "from squares");
_Static_assert(offsetof(NnuePlyData, PieceChanges.to) == 1116, "to squares");
_Static_assert(_Alignof(NnuePlyData) == 64, "alignment");
