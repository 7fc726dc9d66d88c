// veltrix's FEN reader on any text, as fen_classic does for the other dialect; an
// accepted position is also evaluated by the fallback evaluation, and every text by
// the exported network function that takes a FEN.
#include "fen_check.h"
#include "nnue/nnue.h"
#include "veltrix/fallback_eval.h"

using namespace veltrix;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  init_tables();
  init_fallback_tables();
  silence_stdout();
  load_network(VELTRIX_NET_FILE);  // the project's own copy of the default network
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in{data, size};
  choose_board_config(in.byte());
  const std::string text = in.rest();
  Position pos;
  if (fuzz_fen(text, Dialect::Veltrix, pos)) (void)evaluate_fallback(pos);
  (void)nnue_evaluate_fen(text.c_str());
  return 0;
}
