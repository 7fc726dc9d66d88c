// veltrix-classic's FEN reader on any text: the first byte chooses the board
// switches (Chess960, castling text, popcount method, diagnostics), the rest is the FEN.
#include "fen_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  init_tables();
  silence_stdout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  choose_board_config(in.byte());
  Position pos;
  fuzz_fen(in.rest(), Dialect::Classic, pos);
  return 0;
}
