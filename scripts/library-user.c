/* Another program that evaluates through the network library, as its users do:
   the header, the library and a network file named on the command line. The
   cross checks and the package check build it against the library under test. */
#include <stdio.h>
#include <veltrix_nnue.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  nnue_init(argv[1]);
  printf("library eval: %d\n",
         nnue_evaluate_fen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"));
  return 0;
}
