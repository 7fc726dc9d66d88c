#include "veltrix/hash_table.h"

namespace veltrix {

TranspositionTable TT{VeltrixTableLayout};

}  // namespace veltrix
