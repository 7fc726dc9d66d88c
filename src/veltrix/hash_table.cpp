#include "veltrix/hash_table.h"

#include <cstdio>

namespace veltrix {
TranspositionTable TT{VeltrixTableLayout};

// A machine short of memory gets the largest table it can hold rather than none.
void allocate_table() {
  if (!TT.deferred()) return;
  const int wanted = TT.megabytes;
  const int obtained = TT.allocate_deferred(TableDefaultMegabytes);
  if (obtained == wanted) return;
  if (wanted != TableDefaultMegabytes)
    printf("info string error: could not allocate %d MB for the hash table\n", wanted);
  for (int mb = TableDefaultMegabytes; mb > obtained; mb /= 2)
    printf("info string error: could not allocate %d MB for the hash table\n", mb);
}
}  // namespace veltrix
