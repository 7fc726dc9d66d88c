// The evaluation network of veltrix: the weight tables and their loader, the
// per-ply accumulator with its incremental update, and the forward pass.
#pragma once

#include <cstddef>
#include <cstdint>

#include "nnue/veltrix_nnue.h"

// Outside callers share the record's layout byte for byte.
static_assert(offsetof(NnuePlyData, accumulator) == 0 && offsetof(NnuePlyData, computed) == 1024);
static_assert(offsetof(NnuePlyData, PieceChanges) + offsetof(NnuePieceChanges, count) == 1088);
static_assert(offsetof(NnuePlyData, PieceChanges) + offsetof(NnuePieceChanges, piece) == 1092);
static_assert(offsetof(NnuePlyData, PieceChanges) + offsetof(NnuePieceChanges, from) == 1104);
static_assert(offsetof(NnuePlyData, PieceChanges) + offsetof(NnuePieceChanges, to) == 1116);
static_assert(alignof(NnuePlyData) == 64);

constexpr int NnueKingBlock = 641;                    // feature slots per own-king square
constexpr int NnueFeatures = 64 * NnueKingBlock;      // 41,024 per perspective
constexpr int NnueHalfWidth = 256;                    // accumulator values per perspective
constexpr int NnueHidden1Inputs = 2 * NnueHalfWidth;  // both perspectives, side to move first
constexpr int NnueHiddenWidth = 32;
constexpr int NnueOffBoard = 64;  // "from"/"to" of a piece that appears or disappears
constexpr int NnueListSize = 33;  // 32 pieces and the end mark
constexpr size_t NnueFileSize = 21022697;

// NnuePieceCode: the position in "_KQRBNPkqrbnp_".
enum NnuePieceCode : int {
  NnueNone = 0,
  NnueWhiteKing = 1,
  NnueWhiteQueen,
  NnueWhiteRook,
  NnueWhiteBishop,
  NnueWhiteKnight,
  NnueWhitePawn,
  NnueBlackKing = 7,
  NnueBlackQueen,
  NnueBlackRook,
  NnueBlackBishop,
  NnueBlackKnight,
  NnueBlackPawn,
};

// The hidden layers' weights are stored transposed (the 32 weights one input feeds
// lie together) and widened to int16, so the sparse layers walk whole rows. The
// vector paths read the same weights as int8 in groups of four consecutive inputs,
// each output's four weights side by side ((group * 32 + output) * 4 + input % 4),
// so that one group of inputs meets all 32 outputs in 128 bytes.
struct NetworkTables {
  alignas(64) int16_t FeatureBiases[NnueHalfWidth];
  alignas(64) int16_t FeatureWeights[NnueFeatures * NnueHalfWidth];
  alignas(64) int32_t Hidden1Biases[NnueHiddenWidth];
  alignas(64) int16_t Hidden1Weights[NnueHidden1Inputs * NnueHiddenWidth];
  alignas(64) int32_t Hidden2Biases[NnueHiddenWidth];
  alignas(64) int16_t Hidden2Weights[NnueHiddenWidth * NnueHiddenWidth];
  alignas(64) int32_t OutputBias;
  alignas(64) int16_t OutputWeights[NnueHiddenWidth];
  alignas(64) int8_t Hidden1Packed[NnueHidden1Inputs * NnueHiddenWidth];
  alignas(64) int8_t Hidden2Packed[NnueHiddenWidth * NnueHiddenWidth];
  alignas(64) int8_t OutputPacked[NnueHiddenWidth];
};

// Written only by the loader, while no evaluation runs; zero until the first load.
extern NetworkTables NetworkWeights;
// Set once a network file has been accepted; a failed load leaves it as it was.
extern uint8_t NnueLoaded;

// Reads and checks a network file; on success the tables hold its contents, on
// failure they are untouched.
bool load_network(const char* path);
// The same for the bytes of a network file already in memory.
bool load_network_image(const unsigned char* data, size_t size);
// load_network with the progress lines every caller prints, setting NnueLoaded.
bool init_network(const char* path);

// What one evaluation reads: the side to move, the piece and square lists, and the
// records of this ply, one ply back and two plies back (the last two may be null).
struct NnueRequest {
  int side;
  const int* pieces;
  const int* squares;
  NnuePlyData* nnue[3];
};

// perspective 0 white, 1 black; ownKingSq is that perspective's king.
inline int feature_index(int perspective, int ownKingSq, int piece, int sq) {
  // 1 + 64 * (2 * type + enemy): pawn, knight, bishop, rook, queen; own pieces first.
  static constexpr int PieceBase[2][13] = {
      {0, 0, 513, 385, 257, 129, 1, 0, 577, 449, 321, 193, 65},
      {0, 0, 577, 449, 321, 193, 65, 0, 513, 385, 257, 129, 1},
  };
  // Black looks at the board turned by 180 degrees, so both sides see it alike.
  int turn = perspective == 0 ? 0 : 63;
  return NnueKingBlock * (ownKingSq ^ turn) + PieceBase[perspective][piece] + (sq ^ turn);
}

// Rebuilds both perspectives of nnue[0] from the lists.
void refresh_accumulator(const NnueRequest& request);
// Brings nnue[0] up to date: unchanged when computed, else from a computed record
// one or two plies back when there is one, else by a refresh.
void update_accumulator(const NnueRequest& request);
// Whether update_accumulator would read the piece list and not only the kings:
// nnue[0] is not computed and a perspective must be rebuilt.
bool update_reads_piece_list(const NnueRequest& request);

// Feature rows to take from or add to an accumulator row: at most 30 for a
// rebuilt perspective, 6 removed or added otherwise.
struct FeatureList {
  int count = 0;
  int index[32];
  void add(int f) { index[count++] = f; }
};

// The layers after the accumulator, giving network units for the side to move,
// and the accumulator's row arithmetic: out = base - removed rows + added rows.
// The vector paths give the same results as the scalar ones, bit for bit; the
// engine uses the widest path the build targets.
int forward_pass(const NnuePlyData& ply, int side);
void add_feature_rows(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);

int forward_pass_scalar(const NnuePlyData& ply, int side);
void add_feature_rows_scalar(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);

// Every path built into the program, the scalar one first. Each vector path is
// compiled for its own instruction set whatever the build targets, so that all of
// them can be tested and measured on a processor that runs them.
struct NetworkPath {
  const char* name;
  bool runs;  // this processor has the instructions the path needs
  int (*forward_pass)(const NnuePlyData& ply, int side);
  void (*add_feature_rows)(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);
};
struct NetworkPaths {
  const NetworkPath* path;
  int count;
};
NetworkPaths network_paths();

#if defined(__x86_64__) || defined(__i386__)
int forward_pass_sse41(const NnuePlyData& ply, int side);
int forward_pass_avx2(const NnuePlyData& ply, int side);
int forward_pass_avx512(const NnuePlyData& ply, int side);
void add_feature_rows_sse41(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);
void add_feature_rows_avx2(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);
void add_feature_rows_avx512(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);
// The AVX-512 path multiplies bytes with VNNI when its build allows.
extern const bool Avx512PathUsesVnni;
#endif
#if defined(__aarch64__)
int forward_pass_neon(const NnuePlyData& ply, int side);
int forward_pass_neon_dotprod(const NnuePlyData& ply, int side);
void add_feature_rows_neon(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added);
#endif

// update_accumulator, then forward_pass.
int evaluate_request(const NnueRequest& request);
