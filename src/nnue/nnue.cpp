#include "nnue/nnue.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

NetworkTables NetworkWeights;
uint8_t NnueLoaded = 0;

// ---------------------------------------------------------------------------
// The network file

namespace {
constexpr uint32_t VersionWord = 0x7AF32F16;
constexpr uint32_t NetworkHash = 0x3E5AA6EE;
constexpr uint32_t ArchitectureLength = 177;
constexpr uint32_t TransformerHash = 0x5D69D7B8;
constexpr uint32_t LayerStackHash = 0x63337156;

constexpr size_t ArchitectureAt = 12;
constexpr size_t TransformerHashAt = ArchitectureAt + ArchitectureLength;
constexpr size_t FeatureBiasesAt = TransformerHashAt + 4;
constexpr size_t FeatureWeightsAt = FeatureBiasesAt + 2 * NnueHalfWidth;
constexpr size_t LayerStackHashAt = FeatureWeightsAt + 2 * size_t(NnueFeatures) * NnueHalfWidth;
constexpr size_t Hidden1BiasesAt = LayerStackHashAt + 4;
constexpr size_t Hidden1WeightsAt = Hidden1BiasesAt + 4 * NnueHiddenWidth;
constexpr size_t Hidden2BiasesAt = Hidden1WeightsAt + NnueHidden1Inputs * NnueHiddenWidth;
constexpr size_t Hidden2WeightsAt = Hidden2BiasesAt + 4 * NnueHiddenWidth;
constexpr size_t OutputBiasAt = Hidden2WeightsAt + NnueHiddenWidth * NnueHiddenWidth;
constexpr size_t OutputWeightsAt = OutputBiasAt + 4;
static_assert(LayerStackHashAt == 21004993 && OutputWeightsAt + NnueHiddenWidth == NnueFileSize);

// The file is little-endian whatever the host is, and nothing in it is aligned.
uint32_t read_u32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
int32_t read_i32(const unsigned char* p) { return int32_t(read_u32(p)); }
int16_t read_i16(const unsigned char* p) { return int16_t(uint16_t(p[0] | p[1] << 8)); }

bool network_image_valid(const unsigned char* p, size_t size) {
  return size == NnueFileSize && read_u32(p) == VersionWord && read_u32(p + 4) == NetworkHash &&
         read_u32(p + 8) == ArchitectureLength && read_u32(p + TransformerHashAt) == TransformerHash &&
         read_u32(p + LayerStackHashAt) == LayerStackHash;
}

// The file holds one row of int8 per output; the tables hold one row of int16 per input.
void read_transposed(const unsigned char* p, int inputs, int16_t* table) {
  for (int out = 0; out < NnueHiddenWidth; ++out)
    for (int in = 0; in < inputs; ++in) table[in * NnueHiddenWidth + out] = int8_t(*p++);
}

// The int8 copy of a hidden layer for the vector paths: groups of four inputs,
// each output's four weights side by side.
void pack_groups(const int16_t* transposed, int inputs, int8_t* packed) {
  for (int in = 0; in < inputs; ++in)
    for (int out = 0; out < NnueHiddenWidth; ++out)
      packed[(in / 4 * NnueHiddenWidth + out) * 4 + in % 4] = int8_t(transposed[in * NnueHiddenWidth + out]);
}

void convert_network(const unsigned char* p) {
  NetworkTables& w = NetworkWeights;
  for (int k = 0; k < NnueHalfWidth; ++k) w.FeatureBiases[k] = read_i16(p + FeatureBiasesAt + 2 * k);
  const unsigned char* rows = p + FeatureWeightsAt;
  for (size_t k = 0; k < size_t(NnueFeatures) * NnueHalfWidth; ++k) w.FeatureWeights[k] = read_i16(rows + 2 * k);
  for (int i = 0; i < NnueHiddenWidth; ++i) {
    w.Hidden1Biases[i] = read_i32(p + Hidden1BiasesAt + 4 * i);
    w.Hidden2Biases[i] = read_i32(p + Hidden2BiasesAt + 4 * i);
    w.OutputWeights[i] = int8_t(p[OutputWeightsAt + i]);
  }
  read_transposed(p + Hidden1WeightsAt, NnueHidden1Inputs, w.Hidden1Weights);
  read_transposed(p + Hidden2WeightsAt, NnueHiddenWidth, w.Hidden2Weights);
  w.OutputBias = read_i32(p + OutputBiasAt);
  pack_groups(w.Hidden1Weights, NnueHidden1Inputs, w.Hidden1Packed);
  pack_groups(w.Hidden2Weights, NnueHiddenWidth, w.Hidden2Packed);
  for (int i = 0; i < NnueHiddenWidth; ++i) w.OutputPacked[i] = int8_t(w.OutputWeights[i]);
}
}  // namespace

bool load_network_image(const unsigned char* data, size_t size) {
  // Every check passes before the first table is touched: a rejected image leaves
  // the network loaded earlier in force.
  if (!data || !network_image_valid(data, size)) return false;
  // Each evaluation reads a few rows scattered over 21 MB of feature weights.
  advise_large_pages(&NetworkWeights, sizeof NetworkWeights);
  convert_network(data);
  return true;
}

bool load_network(const char* path) {
  MappedFile file;
  if (!path || !map_file(path, file)) return false;
  bool loaded = load_network_image(file.data, file.size);
  unmap_file(file);
  return loaded;
}

bool init_network(const char* path) {
  if (!path) path = "";
  printf("Loading NNUE : %s\n", path);
  fflush(stdout);
  bool loaded = load_network(path);
  if (loaded) NnueLoaded = 1;
  printf(loaded ? "NNUE loaded !\n" : "NNUE file not found!\n");
  fflush(stdout);
  return loaded;
}

// ---------------------------------------------------------------------------
// The accumulator

namespace {
bool is_king(int piece) { return piece == NnueWhiteKing || piece == NnueBlackKing; }

int own_king(int perspective) { return perspective == 0 ? NnueWhiteKing : NnueBlackKing; }

int change_count(const NnuePieceChanges& changes) {
  return changes.count < 0 ? 0 : changes.count > 3 ? 3 : changes.count;
}

// Every piece but the kings (slots 2 onward) as seen by the perspective.
void collect_active(const NnueRequest& request, int perspective, FeatureList& list) {
  int kingSq = request.squares[perspective];
  for (int i = 2; i < NnueListSize && request.pieces[i]; ++i)
    list.add(feature_index(perspective, kingSq, request.pieces[i], request.squares[i]));
}

// The features one ply's move removed and added, seen with today's king square.
void collect_changes(const NnuePieceChanges& changes, int perspective, int kingSq, FeatureList& removed,
                     FeatureList& added) {
  for (int i = 0; i < change_count(changes); ++i) {
    int piece = changes.piece[i];
    if (is_king(piece)) continue;
    if (changes.from[i] != NnueOffBoard) removed.add(feature_index(perspective, kingSq, piece, changes.from[i]));
    if (changes.to[i] != NnueOffBoard) added.add(feature_index(perspective, kingSq, piece, changes.to[i]));
  }
}

// A record that can serve as the starting point, and how many plies back it is.
const NnuePlyData* pick_base(const NnueRequest& request, int& pliesBack) {
  NnuePlyData* previous = request.nnue[1];
  NnuePlyData* earlier = request.nnue[2];
  pliesBack = previous && previous->computed ? 1 : previous && earlier && earlier->computed ? 2 : 0;
  return pliesBack == 1 ? previous : pliesBack == 2 ? earlier : nullptr;
}

// Every feature hangs on the perspective's own king: once that king has moved,
// nothing of the base is reusable for this perspective.
bool own_king_moved(const NnueRequest& request, int pliesBack, int perspective) {
  const NnuePieceChanges& last = request.nnue[0]->PieceChanges;
  const NnuePieceChanges* before = pliesBack == 2 ? &request.nnue[1]->PieceChanges : nullptr;
  return (change_count(last) > 0 && last.piece[0] == own_king(perspective)) ||
         (before && change_count(*before) > 0 && before->piece[0] == own_king(perspective));
}
}  // namespace

void add_feature_rows_scalar(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
  // Unsigned, so that the sums wrap as the accumulator's do.
  uint16_t sums[NnueHalfWidth];
  for (int k = 0; k < NnueHalfWidth; ++k) sums[k] = uint16_t(base[k]);
  for (int i = 0; i < removed.count; ++i) {
    const int16_t* row = NetworkWeights.FeatureWeights + size_t(removed.index[i]) * NnueHalfWidth;
    for (int k = 0; k < NnueHalfWidth; ++k) sums[k] = uint16_t(sums[k] - uint16_t(row[k]));
  }
  for (int i = 0; i < added.count; ++i) {
    const int16_t* row = NetworkWeights.FeatureWeights + size_t(added.index[i]) * NnueHalfWidth;
    for (int k = 0; k < NnueHalfWidth; ++k) sums[k] = uint16_t(sums[k] + uint16_t(row[k]));
  }
  for (int k = 0; k < NnueHalfWidth; ++k) out[k] = int16_t(sums[k]);
}

void refresh_accumulator(const NnueRequest& request) {
  NnuePlyData& ply = *request.nnue[0];
  for (int c = 0; c < 2; ++c) {
    FeatureList none, active;
    collect_active(request, c, active);
    add_feature_rows(ply.accumulator[c], NetworkWeights.FeatureBiases, none, active);
  }
  ply.computed = 1;
}

bool update_reads_piece_list(const NnueRequest& request) {
  if (request.nnue[0]->computed) return false;
  int pliesBack;
  if (!pick_base(request, pliesBack)) return true;
  return own_king_moved(request, pliesBack, 0) || own_king_moved(request, pliesBack, 1);
}

void update_accumulator(const NnueRequest& request) {
  NnuePlyData& ply = *request.nnue[0];
  if (ply.computed) return;
  int pliesBack;
  const NnuePlyData* base = pick_base(request, pliesBack);
  if (!base) return refresh_accumulator(request);

  for (int c = 0; c < 2; ++c) {
    FeatureList removed, added;
    if (own_king_moved(request, pliesBack, c)) {
      collect_active(request, c, added);
      add_feature_rows(ply.accumulator[c], NetworkWeights.FeatureBiases, removed, added);
      continue;
    }
    int kingSq = request.squares[c];
    collect_changes(ply.PieceChanges, c, kingSq, removed, added);
    if (pliesBack == 2) collect_changes(request.nnue[1]->PieceChanges, c, kingSq, removed, added);
    add_feature_rows(ply.accumulator[c], base->accumulator[c], removed, added);
  }
  ply.computed = 1;
}

int evaluate_request(const NnueRequest& request) {
  update_accumulator(request);
  return forward_pass(*request.nnue[0], request.side);
}

// ---------------------------------------------------------------------------
// The functions other programs call

namespace {
// The decoded placement of a FEN text.
struct FenLists {
  int side = 0;
  int pieces[NnueListSize] = {};
  int squares[NnueListSize] = {};
};

// Reads the placement and the side to move; the other fields cannot change the
// score. Stops at the end of the text, and never lets a malformed placement put a
// piece outside the board or beyond the lists.
void decode_fen(const char* fen, FenLists& lists) {
  static const char PieceLetters[] = "_KQRBNPkqrbnp_";
  const char* p = fen;
  int next = 2;
  for (int rank = 7; rank >= 0 && *p; --rank) {
    for (int file = 0; file < 8 && *p; ++p) {
      char ch = *p;
      const char* letter = ch ? strchr(PieceLetters, ch) : nullptr;
      int code = letter ? int(letter - PieceLetters) : 0;
      if (ch >= '1' && ch <= '8') {
        file += ch - '0';
        continue;
      }
      if (code >= NnueWhiteKing && code <= NnueBlackPawn) {
        int slot = code == NnueWhiteKing ? 0 : code == NnueBlackKing ? 1 : next;
        if (slot < NnueListSize - 1) {  // the last slot keeps the end mark
          lists.pieces[slot] = code;
          lists.squares[slot] = rank * 8 + file;
          if (slot == next) ++next;
        }
      }
      ++file;
    }
    if (*p) ++p;  // the "/" after the rank, or the blank after rank 1
  }
  char side = *p;
  lists.side = side && strchr("Bb", side) ? 1 : 0;
}
}  // namespace

extern "C" {

void nnue_init(const char* fileName) { init_network(fileName); }

int nnue_evaluate(int side, const int* pieces, const int* squares) {
  NnuePlyData ply;
  ply.computed = 0;
  return evaluate_request({side, pieces, squares, {&ply, nullptr, nullptr}});
}

int nnue_evaluate_incremental(int side, const int* pieces, const int* squares, NnuePlyData** nnue) {
  // Outside callers hand in their own records; a misaligned one would fault inside
  // the aligned vector stores, far from the cause, so it is refused here.
  // The accumulator opens the record, so the record's address is the one to test
  // (reaching into a misaligned record would itself be undefined).
  if (!nnue || !nnue[0] || reinterpret_cast<uintptr_t>(nnue[0]) % 64 != 0) {
    fprintf(stderr, "src/nnue/nnue.cpp:%d: %s: Assertion `%s' failed.\n", __LINE__, __func__,
            "nnue[0] && (uint64_t)(&nnue[0]->accumulator) % 64 == 0");
    abort();
  }
  return evaluate_request({side, pieces, squares, {nnue[0], nnue[1], nnue[2]}});
}

int nnue_evaluate_fen(const char* fen) {
  FenLists lists;
  decode_fen(fen ? fen : "", lists);
  return nnue_evaluate(lists.side, lists.pieces, lists.squares);
}

}  // extern "C"
